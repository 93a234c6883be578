# Optional Authenticode signature of datora.exe in the .zip.
#
# CPack strips the executable when it installs it into its staging folder,
# and stripping removes a signature, so the signing is done afterwards by a
# script that CPack runs before it packs that folder. Without a certificate
# the package holds an unsigned datora.exe.
set(DATORA_SIGN_CERT "" CACHE FILEPATH
    "Code-signing certificate (PEM or DER) for datora.exe in the .zip; empty leaves it unsigned")
set(DATORA_SIGN_KEY "" CACHE FILEPATH "Private key of DATORA_SIGN_CERT, not protected by a password")

# CPack hands every CPACK_ variable to the script.
set(CPACK_DATORA_SIGN_CERT "${DATORA_SIGN_CERT}")
set(CPACK_DATORA_SIGN_KEY "${DATORA_SIGN_KEY}")
list(APPEND CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/sign_datora_exe.cmake")
