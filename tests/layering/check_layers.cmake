# Builds the layering probes of tests/layering in BUILD_DIR: the one that includes only public
# headers must compile; the ones that include Qt, platform/qt/ or platform/unreached/ must fail on
# that include.
function(build_probe target result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

build_probe(layering_skin_public_headers result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "a skin source with public headers only does not compile:\n${output}")
endif()

foreach(probe_and_header IN ITEMS "qt_header|QString" "platform_internals|window_host.h"
                                 "unreached_pieces|docking.h")
  string(REPLACE "|" ";" pair "${probe_and_header}")
  list(GET pair 0 probe)
  list(GET pair 1 header)
  build_probe(layering_skin_${probe} result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "a skin source could include ${header}")
  endif()
  if(NOT output MATCHES "${header}: No such file or directory")
    message(FATAL_ERROR "layering_skin_${probe} failed for another reason than ${header}:\n${output}")
  endif()
endforeach()
