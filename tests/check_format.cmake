# Fails when a C++ source of the tree differs from what clang-format makes of it.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
  ${SOURCE_DIR}/music/*.cpp ${SOURCE_DIR}/music/*.h
  ${SOURCE_DIR}/puzzle/*.cpp ${SOURCE_DIR}/puzzle/*.h
  ${SOURCE_DIR}/render/*.cpp ${SOURCE_DIR}/render/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
  ${SOURCE_DIR}/web/*.cpp ${SOURCE_DIR}/web/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE result
  ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not formatted as .clang-format says (run clang-format -i on them):\n${complaints}")
endif()
