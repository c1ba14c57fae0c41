# The tests need GoogleTest; with BUILD_TESTING off nothing of it is looked for.
option(BUILD_TESTING "Build the tests (needs GoogleTest)" ON)
if(BUILD_TESTING)
  enable_testing()
  # GoogleTest: the system package for 64-bit builds; for -m32 it is built from
  # Debian's shipped sources so that the tests link against a 32-bit copy.
  if(LUMETRA_M32)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    # Its project defines the GTest:: aliases the tests link against.
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

# lumetra_add_test(name SOURCES a_test.cpp ... LIBS lib ...)
# One test executable per module; every TEST in it is registered with CTest. Test helpers
# live in <module>/testing/ and are linked as <module>_testing libraries, never into the
# product; the platform's (scratch folders, recorded message boxes) go into every test. With
# testing off the executable is still declared, so that the modules can add sources and settings to
# it, but it is left out of the build.
function(lumetra_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT BUILD_TESTING)
    add_executable(${name} EXCLUDE_FROM_ALL ${T_SOURCES})
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} lumetra_platform_testing GTest::gmock GTest::gtest_main)
  # The tests' own code is most of the build and little of the run (the work it drives runs
  # in the optimised libraries), so it is compiled unoptimised: half the compile time.
  target_compile_options(${name} PRIVATE -O0)
  # One variable a property: the PROPERTIES list is split at every semicolon, so a second
  # variable in ENVIRONMENT would never reach the tests.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LUMETRA_SHM_NAMESPACE=t${name}"
      ENVIRONMENT_MODIFICATION "LUMETRA_CONFIG_HOME=set:${CMAKE_BINARY_DIR}/test-config/${name}")
endfunction()
