# Read by cpack for each package it makes: the installer and the portable zip get their names.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "FennickNotizen-${CPACK_PACKAGE_VERSION}-Setup")
else()
  set(CPACK_PACKAGE_FILE_NAME "FennickNotizen-${CPACK_PACKAGE_VERSION}-portabel")
endif()
