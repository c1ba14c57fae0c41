# lumetra_export_only(target MAP): the shared object exports exactly the names its linker
# version script MAP lists under "global:". After every link the dynamic symbol table is
# compared with the list (cmake/check_exports.cmake), so a name that leaks out or goes
# missing fails the build.
function(lumetra_export_only target map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:${target}> -DMAP=${map}
            -P ${PROJECT_SOURCE_DIR}/cmake/check_exports.cmake
    VERBATIM)
endfunction()
