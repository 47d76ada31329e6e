# The Windows suite: every test program runs under Wine, headless, through under_wine.sh, in the
# Wine prefix of the build folder (`make test-windows` makes it).
set(desk_wine_prefix ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/windows/under_wine.sh)
# A path of this machine as a program under Wine names it: drive Z: is the root.
set(desk_test_source_drive "Z:")
set(desk_wine_environment "WINEPREFIX=${desk_wine_prefix};WINEDEBUG=-all")
set(desk_test_environment "${desk_wine_environment}")
add_test(NAME windows/wine_prefix
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/prepare_wine.sh ${desk_wine_prefix})
set_tests_properties(windows/wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)

# The check command under Wine, and the native build's (DESK_HOST_BUILD: `make test-windows`
# builds it first), read what the other system wrote.
configure_file(windows/run_check.sh.in ${CMAKE_BINARY_DIR}/run-assignment-desk-check.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
set(DESK_HOST_BUILD "" CACHE PATH "The native build folder, whose record_writer and check run beside")
set(desk_checks ${CMAKE_BINARY_DIR}/run-assignment-desk-check.sh)
if(EXISTS "${DESK_HOST_BUILD}/tests/record_writer")
  list(APPEND desk_checks ${DESK_HOST_BUILD}/assignment-desk-check)
  add_test(NAME windows/check_reads_linux_files
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/check_linux_files.sh
      ${DESK_HOST_BUILD}/tests/record_writer ${CMAKE_BINARY_DIR}/run-assignment-desk-check.sh)
  set_tests_properties(windows/check_reads_linux_files PROPERTIES
    ENVIRONMENT "${desk_wine_environment}" FIXTURES_REQUIRED wine TIMEOUT 120)
endif()
list(JOIN desk_checks " " desk_checks)

# One whole session of the real program, in a real window under Wine and Xvfb, driven as the
# Linux program is, its record files compared with the same expected bytes.
configure_file(windows/run_program.sh.in ${CMAKE_BINARY_DIR}/run-assignment-desk.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
add_test(NAME windows/full_session COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/full_session.sh)
set_tests_properties(windows/full_session PROPERTIES
  ENVIRONMENT "${desk_wine_environment};APP=${CMAKE_BINARY_DIR}/run-assignment-desk.sh;E2E_RECORD_DIR=${desk_wine_prefix}/drive_c/lrnfiles;E2E_TIMEOUT=60;E2E_CHECKS=${desk_checks}"
  LABELS e2e TIMEOUT 300 FIXTURES_REQUIRED wine)

# The installer that `cpack` makes (`make test-windows` makes it first).
add_test(NAME windows/installer COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/installer.sh
  ${CMAKE_BINARY_DIR}/${desk_windows_package}.exe)
set_tests_properties(windows/installer PROPERTIES
  ENVIRONMENT "${desk_wine_environment}" FIXTURES_REQUIRED wine TIMEOUT 300)
