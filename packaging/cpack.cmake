# `make package` builds a .deb whose library dependencies are read off the program by
# dpkg-shlibdeps, so it refuses to install where the distribution's Qt is too old for it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME assignment-desk)
set(CPACK_PACKAGE_VENDOR "The Assignment Desk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Work through a physics assignment and leave a record for the instructor")
set(CPACK_PACKAGE_DESCRIPTION [=[Assignment Desk shows one assignment of interactive physics problems a
paragraph at a time. The student types an answer, a critique or notes and
records it; every record is appended to plain-text files (a master file, a
dated file to send to the instructor and a notes file) that the instructor
reads with any tool.
.
A record the student is told is recorded is on the disk, whole, in every file
of its record, even after a crash, a kill or a power cut; two copies of the
program for the same student take turns.]=])
set(CPACK_PACKAGE_CONTACT "Assignment Desk developers <maintainers@assignmentdesk.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://assignmentdesk.org/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs Qt's X11 platform plugin, Tahoma for the captions and Arial's metrics
# (Liberation Sans) for the two text boxes; the binary names none of them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wine, fonts-liberation")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
