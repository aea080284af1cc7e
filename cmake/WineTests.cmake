# Registers a test that runs Windows programs under Wine through the harness
# (scripts/wine-run.sh): a fresh throwaway prefix in the build folder, a
# private virtual display, WINEDEBUG=-all, nothing left running afterwards.
#
#   atrybuty_add_wine_test(NAME name TIMEOUT secs COMMAND shell words...)
#
# COMMAND runs in a shell inside the harness; call `wine prog.exe` in it.
function(atrybuty_add_wine_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${ARG_NAME}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh --timeout ${ARG_TIMEOUT} -- ${ARG_COMMAND}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  math(EXPR ctest_timeout "${ARG_TIMEOUT} + 120")
  set_tests_properties(${ARG_NAME} PROPERTIES
    ENVIRONMENT "ATRYBUTY_WINE_DIR=${CMAKE_BINARY_DIR}/wine"
    TIMEOUT ${ctest_timeout}
    LABELS wine)
endfunction()
