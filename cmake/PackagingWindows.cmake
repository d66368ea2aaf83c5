# The Windows installer and zip: `cpack` in the cross build's folder (scripts/windows/build)
# makes Stonewell-<version>-win64.exe (NSIS: a Start-menu entry and an uninstaller) and
# Stonewell-<version>-win64.zip. Everything lives in one folder: the program, the DLLs it
# loads and the data set beside it; progress goes to the per-user folder when that folder
# cannot be written.
install(TARGETS stonewell RUNTIME DESTINATION .)
install(FILES ${STONEWELL_WINDOWS_DLLS} DESTINATION .)
install(DIRECTORY ${CMAKE_BINARY_DIR}/DATA DESTINATION . PATTERN "SAVE/*" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION . RENAME COPYRIGHT.txt)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Stonewell)
set(CPACK_PACKAGE_VENDOR "The Stonewell developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Stonewell-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Go tutor for complete beginners, in Japanese")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Stonewell)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/dist/copyright)
set(CPACK_STRIP_FILES ON)
# The Start-menu entry: the program and its name as the menu shows it.
set(CPACK_PACKAGE_EXECUTABLES stonewell "Stonewell")
set(CPACK_NSIS_DISPLAY_NAME "Stonewell")
set(CPACK_NSIS_PACKAGE_NAME "Stonewell")
set(CPACK_NSIS_INSTALLED_ICON_NAME stonewell.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A 64-bit installer for a 64-bit program, into the 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
include(CPack)
