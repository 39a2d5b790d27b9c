# The program's packages, made by `cmake --build build/win --target package` (cpack) into
# build/win/packages: FennickNotizen-<version>-Setup.exe (NSIS, 64-bit, per user, German; from
# NSIS.template.in beside this file) and FennickNotizen-<version>-portabel.zip (program and help
# file, to run from any folder).
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_NAME "FennickNotizen")
set(CPACK_PACKAGE_VENDOR "Fennick")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Fennick Notizen")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
# The packages carry the program without its debugging information.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_names.cmake)
set(CPACK_NSIS_MUI_ICON ${FN_PROGRAM_ICON})
set(CPACK_NSIS_MUI_UNIICON ${FN_PROGRAM_ICON})
# cpack takes the installer's script from the first NSIS.template.in on the module path.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
include(CPack)
