# Where `cmake --install` and the Debian package put things: the GNU layout under the
# prefix. The installed files find each other through paths relative to their own place
# ($ORIGIN run paths, the command's plug-in search), so the tree works under any prefix
# and when unpacked anywhere.
include(GNUInstallDirs)

# The plug-in is loaded by the command, never linked against: a folder of its own.
set(LUMETRA_INSTALL_PLUGINDIR "${CMAKE_INSTALL_LIBDIR}/lumetra")

# lumetra_install_path(out from to): the relative path between two install folders, each
# relative to the prefix (as the CMAKE_INSTALL_*DIR are) or absolute.
function(lumetra_install_path out from to)
  foreach(folder from to)
    cmake_path(ABSOLUTE_PATH ${folder} BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
  endforeach()
  cmake_path(RELATIVE_PATH to BASE_DIRECTORY "${from}" OUTPUT_VARIABLE path)
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
