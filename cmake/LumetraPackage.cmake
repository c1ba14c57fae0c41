# `cpack -G DEB` in a build folder: the Debian package lumetra with everything `cmake --install`
# puts in place under /usr but the window, and, when Qt was found, lumetra-gui with the Qt host
# and the plug-in's Qt windows, so that the command line and the render library need no Qt. The
# version is the project's; the runtime dependencies are found by dpkg-shlibdeps from the
# libraries the binaries link.
set(CPACK_PACKAGE_NAME lumetra)
set(CPACK_PACKAGE_VENDOR "Lumetra")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumetra developers <lumetra@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The summary above is the first line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
The lumetra command loads the plug-in liblumetra.so as a 3D modeller would and
renders and animates JSON scene files through it: stills as PNG, BMP, TGA, PPM
or TIFF, and animations as AVI movies or numbered pictures. The render library
liblumetra2.so comes with its C header, a CMake package (find_package(lumetra2))
and a pkg-config file.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Install components: everything without one ("Unspecified") is the package lumetra.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME lumetra)
# The "POV-Ray" render method runs it; everything else works without it.
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_SUGGESTS povray)
# The plug-in loads FFmpeg's libraries itself when it writes an AVI file, so dpkg-shlibdeps,
# which sees only what is linked, cannot name them: the package does, by their major versions.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMETRA_FFMPEG_RUNTIME REQUIRED libavformat libavcodec libswscale libavutil)
set(ffmpeg_packages "")
foreach(module avformat avcodec swscale avutil)
  string(REGEX MATCH "^[0-9]+" major "${LUMETRA_FFMPEG_RUNTIME_lib${module}_VERSION}")
  list(APPEND ffmpeg_packages "lib${module}${major}")
endforeach()
list(JOIN ffmpeg_packages ", " CPACK_DEBIAN_UNSPECIFIED_PACKAGE_DEPENDS)
if(TARGET lumetra_gui)
  list(APPEND CPACK_COMPONENTS_ALL gui)
  set(CPACK_DEBIAN_GUI_PACKAGE_NAME lumetra-gui)
  set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "lumetra (= ${PROJECT_VERSION})")
  # Debian takes the summary line from CPACK_PACKAGE_DESCRIPTION_SUMMARY for every package.
  set(CPACK_DEBIAN_GUI_DESCRIPTION "\
lumetra-gui is the host of the lumetra package in a Qt 6 window: it opens the
same scene files and shows the scene's views, its objects and their values and
the plug-in's menu, with the plug-in's own control bar for keyframe animation
and its render windows.")
endif()
# A shlibs file, so that programs linking liblumetra2.so.0 depend on this package.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

include(CPack)
