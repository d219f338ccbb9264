# The skin folder goes beside the executable in the build tree.
set(VINTREL_SKINS_SOURCE ${CMAKE_CURRENT_LIST_DIR}/Skins)
file(GLOB_RECURSE vintrel_skin_files CONFIGURE_DEPENDS RELATIVE ${VINTREL_SKINS_SOURCE}
     ${VINTREL_SKINS_SOURCE}/*)
set(vintrel_skin_outputs)
foreach(skin_file IN LISTS vintrel_skin_files)
  set(copied ${CMAKE_BINARY_DIR}/Skins/${skin_file})
  add_custom_command(OUTPUT ${copied}
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different
                             ${VINTREL_SKINS_SOURCE}/${skin_file} ${copied}
                     DEPENDS ${VINTREL_SKINS_SOURCE}/${skin_file}
                     COMMENT "Copying skin file ${skin_file}" VERBATIM)
  list(APPEND vintrel_skin_outputs ${copied})
endforeach()
add_custom_target(vintrel_skins ALL DEPENDS ${vintrel_skin_outputs})
