# The host reaches the plug-in only through its two exports and the records of abi/. A
# host target that links a plug-in module, directly or through another library, would
# call the plug-in's code behind its back; lumetra_check_host_boundary stops the
# configuration when one does. Plug-in modules are the targets defined in these folders.
set(LUMETRA_PLUGIN_MODULE_DIRS plugin keyframe ui render animation translate texture renderlib)

# The folder of the project a target is defined in ("keyframe"); empty for outside ones.
function(lumetra_target_folder target out)
  set(folder "")
  get_target_property(imported ${target} IMPORTED)
  if(NOT imported)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${dir}")
    string(REGEX REPLACE "/.*" "" folder "${relative}")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

function(lumetra_check_host_boundary)
  foreach(host IN LISTS ARGN)
    set(queue ${host})
    set(seen ${host})
    set(path_${host} ${host})
    while(queue)
      list(POP_FRONT queue current)
      get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
      get_target_property(type ${current} TYPE)
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(direct ${current} LINK_LIBRARIES)
        list(APPEND links ${direct})
      endif()
      foreach(link IN LISTS links)
        # PRIVATE links of a static library appear as $<LINK_ONLY:name>.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
        if(NOT TARGET "${link}" OR "${link}" IN_LIST seen)
          continue()
        endif()
        get_target_property(aliased ${link} ALIASED_TARGET)
        if(aliased)
          set(link ${aliased})
        endif()
        list(APPEND seen ${link})
        set(path_${link} "${path_${current}} -> ${link}")
        lumetra_target_folder(${link} folder)
        if(folder IN_LIST LUMETRA_PLUGIN_MODULE_DIRS)
          message(FATAL_ERROR "The host target ${host} links the plug-in module ${link} (${folder}/): "
            "${path_${link}}. A host reaches the plug-in only through its exports and the records "
            "of abi/; a command that needs the plug-in's code belongs in tools/ (lumetra-tool).")
        endif()
        list(APPEND queue ${link})
      endforeach()
    endwhile()
  endforeach()
endfunction()
