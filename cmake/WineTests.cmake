# Registers a test that runs Windows programs under Wine through the harness
# (scripts/wine-run.sh): a fresh throwaway prefix in the build folder, a
# private virtual display, WINEDEBUG=-all, nothing left running afterwards.
#
#   atrybuty_add_wine_test(NAME name TIMEOUT secs [ARCH win64|win32] COMMAND shell words...)
#
# COMMAND runs in a shell inside the harness; call `wine prog.exe` in it.
# ARCH is the Windows the prefix stands for: win64 (the default) a 64-bit
# Windows that runs 32-bit programs too, win32 a 32-bit Windows.
function(atrybuty_add_wine_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT;ARCH" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(NOT ARG_ARCH)
    set(ARG_ARCH win64)
  endif()
  add_test(NAME ${ARG_NAME}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh --timeout ${ARG_TIMEOUT} --arch ${ARG_ARCH} -- ${ARG_COMMAND}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  math(EXPR ctest_timeout "${ARG_TIMEOUT} + 120")
  set_tests_properties(${ARG_NAME} PROPERTIES
    ENVIRONMENT "ATRYBUTY_WINE_DIR=${CMAKE_BINARY_DIR}/wine"
    TIMEOUT ${ctest_timeout}
    LABELS wine)
endfunction()
