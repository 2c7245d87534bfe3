# Authenticode signing of the installer right after it is linked, when a certificate is named:
#   -DLUDRIN_SIGN_PKCS12=cert.p12 [-DLUDRIN_SIGN_PASSWORD_FILE=pass.txt]
#   [-DLUDRIN_SIGN_TIMESTAMP_URL=http://timestamp.example]
# scripts/sign does the work and checks the payload of the signed file with ludrin-pack.

set(LUDRIN_SIGN_PKCS12 "" CACHE FILEPATH
    "Certificate and key (.p12) to sign InstallLudrin.exe with; empty: not signed")
set(LUDRIN_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of the .p12")
set(LUDRIN_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signature")

function(ludrin_sign_after_build target)
    if(NOT LUDRIN_SIGN_PKCS12)
        return()
    endif()
    find_program(LUDRIN_OSSLSIGNCODE osslsigncode)
    if(NOT LUDRIN_OSSLSIGNCODE)
        message(FATAL_ERROR "LUDRIN_SIGN_PKCS12 is set, but osslsigncode is not installed "
                            "(Debian package osslsigncode)")
    endif()
    set(options --pkcs12 ${LUDRIN_SIGN_PKCS12} --pack ${LUDRIN_PACK_COMMAND})
    if(LUDRIN_SIGN_PASSWORD_FILE)
        list(APPEND options --password-file ${LUDRIN_SIGN_PASSWORD_FILE})
    endif()
    if(LUDRIN_SIGN_TIMESTAMP_URL)
        list(APPEND options --timestamp ${LUDRIN_SIGN_TIMESTAMP_URL})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign $<TARGET_FILE:${target}> ${options}
                       COMMENT "Signing ${target}"
                       VERBATIM)
endfunction()
