# The render library for other programs: the shared library with its soname links, the two
# headers, a CMake package (find_package(lumetra2) gives the target lumetra2::lumetra2) and a
# pkg-config file. Both package files locate the rest from their own place.
include(CMakePackageConfigHelpers)
set(LUMETRA2_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/lumetra2")
set(LUMETRA2_INSTALL_PKGCONFIGDIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")

install(TARGETS lumetra2 EXPORT lumetra2Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES include/lumetra2.h ${CMAKE_CURRENT_BINARY_DIR}/include/lumetra2_version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT lumetra2Targets NAMESPACE lumetra2:: DESTINATION ${LUMETRA2_INSTALL_CMAKEDIR})
configure_package_config_file(lumetra2Config.cmake.in lumetra2Config.cmake
  INSTALL_DESTINATION ${LUMETRA2_INSTALL_CMAKEDIR})
# A program built against 0.1 runs with any later 0.x: entries are only ever added.
write_basic_package_version_file(lumetra2ConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lumetra2Config.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/lumetra2ConfigVersion.cmake
  DESTINATION ${LUMETRA2_INSTALL_CMAKEDIR})

lumetra_install_path(LUMETRA2_PC_INCLUDEDIR
  ${LUMETRA2_INSTALL_PKGCONFIGDIR} ${CMAKE_INSTALL_INCLUDEDIR})
lumetra_install_path(LUMETRA2_PC_LIBDIR ${LUMETRA2_INSTALL_PKGCONFIGDIR} ${CMAKE_INSTALL_LIBDIR})
configure_file(lumetra2.pc.in lumetra2.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lumetra2.pc DESTINATION ${LUMETRA2_INSTALL_PKGCONFIGDIR})
