# What a Debian user expects beside the program: a menu entry, an icon, software-centre metadata,
# a manual page, the licence and the change log (the last two compressed as Debian ships them).
include(GNUInstallDirs)
set(desk_app_id org.assignmentdesk.AssignmentDesk)
set(desk_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/assignment-desk)
set(desk_compressed)
foreach(page IN ITEMS assignment-desk.1 assignment-desk-check.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}.gz
    COMMAND sh -c "gzip -9n -c '${CMAKE_CURRENT_SOURCE_DIR}/packaging/${page}' > '${CMAKE_BINARY_DIR}/${page}.gz'"
    DEPENDS packaging/${page} VERBATIM)
  list(APPEND desk_compressed ${CMAKE_BINARY_DIR}/${page}.gz)
endforeach()
add_custom_target(desk-compressed-docs DEPENDS ${desk_compressed})
add_dependencies(assignment-desk desk-compressed-docs)

install(TARGETS assignment-desk assignment-desk-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${desk_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${desk_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/assignment-desk.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/assignment-desk.1.gz ${CMAKE_BINARY_DIR}/assignment-desk-check.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz docs/record-files.md
  DESTINATION ${desk_doc_dir})

include(packaging/cpack.cmake)
