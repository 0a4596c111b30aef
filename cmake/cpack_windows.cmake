# Read by cpack once per generator: the installer and the portable zip get
# names of their own, and the zip holds Velmora.exe at its top.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "Velmora-${CPACK_PACKAGE_VERSION}-win32-portable")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_PACKAGE_FILE_NAME "Velmora-${CPACK_PACKAGE_VERSION}-win32")
endif()
