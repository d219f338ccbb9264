# Fails when a C++ source of the repository differs from what clang-format makes of it.
# Run with -DSOURCE_DIR=... -DCLANG_FORMAT=...; the files are listed at run time, so new ones
# count at once.
file(GLOB_RECURSE sources
     ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h
     ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
     ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
     ${SOURCE_DIR}/res/*.cpp ${SOURCE_DIR}/res/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE findings)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${findings}\nFormat with: clang-format -i <file>")
endif()
