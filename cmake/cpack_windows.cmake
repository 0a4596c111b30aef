# Read by cpack once per generator: the installer and the portable zip get
# names of their own, and the zip holds Velmora.exe at its top.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "Velmora-${CPACK_PACKAGE_VERSION}-win32-portable")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_PACKAGE_FILE_NAME "Velmora-${CPACK_PACKAGE_VERSION}-win32")
endif()
# A signed release (scripts/release) names the command that signs the
# uninstaller, which makensis runs before packing it into the installer.
if(CPACK_GENERATOR STREQUAL "NSIS" AND NOT "$ENV{VELMORA_SIGN_UNINSTALLER}" STREQUAL "")
    string(APPEND CPACK_NSIS_DEFINES "\n!uninstfinalize '\"$ENV{VELMORA_SIGN_UNINSTALLER}\" \"%1\"' = 0")
endif()
