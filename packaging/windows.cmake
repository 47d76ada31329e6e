# The Windows program's folder: the two programs, and beside them the Qt libraries, the platform
# and style plugins and the MinGW runtime, so that the folder runs wherever it is copied. The
# same files go into a zip and into an installer (CPack's NSIS generator) that installs for the
# user alone, without administrator rights, with a Start-menu entry and an uninstaller.

# The MinGW runtime libraries, where the cross compiler keeps them.
set(desk_runtime_dlls)
foreach(dll IN ITEMS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "The MinGW runtime library ${dll} is not where the compiler says")
  endif()
  list(APPEND desk_runtime_dlls ${found})
endforeach()

set(desk_qt_dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
set(desk_platform_plugin $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(desk_style_plugin $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

# Beside the programs in the build folder too, so that they run where they are built; the tests
# there need Qt Test and the offscreen platform as well.
set(desk_build_dlls ${desk_qt_dlls} ${desk_runtime_dlls})
set(desk_build_platforms ${desk_platform_plugin})
if(BUILD_TESTING)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  list(APPEND desk_build_dlls $<TARGET_FILE:Qt6::Test>)
  list(APPEND desk_build_platforms $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>)
endif()
add_custom_target(desk-windows-runtime ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/platforms ${CMAKE_BINARY_DIR}/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${desk_build_dlls} ${CMAKE_BINARY_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${desk_build_platforms} ${CMAKE_BINARY_DIR}/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${desk_style_plugin} ${CMAKE_BINARY_DIR}/styles
  VERBATIM)

install(TARGETS assignment-desk assignment-desk-check RUNTIME DESTINATION .)
install(FILES ${desk_qt_dlls} ${desk_runtime_dlls} DESTINATION .)
install(FILES ${desk_platform_plugin} DESTINATION platforms)
install(FILES ${desk_style_plugin} DESTINATION styles)
install(FILES LICENSE docs/record-files.md DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME assignment-desk)
set(CPACK_PACKAGE_VENDOR "The Assignment Desk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Work through a physics assignment and leave a record for the instructor")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Assignment Desk")
set(CPACK_PACKAGE_EXECUTABLES assignment-desk "Assignment Desk")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(desk_windows_package assignment-desk-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_FILE_NAME ${desk_windows_package})
set(CPACK_NSIS_PACKAGE_NAME "Assignment Desk")
set(CPACK_NSIS_DISPLAY_NAME "Assignment Desk")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The installer is CMake's own, made to install for the user who runs it: it asks for no
# administrator rights and writes only to that user's folders and registry. It is a 64-bit
# program, like the one it installs.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in desk_nsis_template)
string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user\n  Target amd64-unicode"
  desk_nsis_template "${desk_nsis_template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current"
  desk_nsis_template "${desk_nsis_template}")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${desk_nsis_template}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
include(CPack)
