# The Debian package: `cpack` in the build folder (scripts/package) makes
# stonewell_<version>_<arch>.deb from the install rules of dist/CMakeLists.txt.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stonewell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Stonewell developers <developers@stonewell.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies as dpkg-shlibdeps finds them in the program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help page opens in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Go tutor for complete beginners, in Japanese")
# The first line of the control file's description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Stonewell teaches the board game Go to learners who read Japanese. Each
section of its course has a lesson, whose board changes step by step, and
a set of problems that the program judges, answers and explains. Progress
is kept for each user.")
include(CPack)
