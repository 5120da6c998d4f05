# Signs a Windows program in place (Authenticode, SHA-256) with osslsigncode:
# Windows then names the publisher of the certificate where it would warn of
# an unknown one, and SmartScreen builds its trust in the program on the
# certificate's record rather than on this one file's.
#
#   cmake -DOSSLSIGNCODE=PATH -DPROGRAM=FILE.exe -DPFX=CERT.pfx
#         [-DPASSWORD_FILE=FILE] [-DTIMESTAMP=URL] -P SignProgram.cmake
#
# PFX is a PKCS#12 file with the certificate (and its chain) and the private
# key, as a certificate authority issues it and Windows exports it; its
# password, if it has one, is the first line of PASSWORD_FILE (never on a
# command line, where other users could see it). TIMESTAMP names a
# time-stamping server, whose countersignature keeps the signature valid after
# the certificate expires.
foreach(required OSSLSIGNCODE PROGRAM PFX)
  if(NOT ${required})
    message(FATAL_ERROR "SignProgram.cmake: ${required} is not given")
  endif()
endforeach()
set(options -pkcs12 ${PFX} -h sha256 -n "Valdor III Launcher")
if(PASSWORD_FILE)
  list(APPEND options -readpass ${PASSWORD_FILE})
endif()
if(TIMESTAMP)
  list(APPEND options -ts ${TIMESTAMP})
endif()
# osslsigncode writes a new file; the signed one then takes the program's place.
set(signed ${PROGRAM}.signed)
file(REMOVE ${signed})
execute_process(
  COMMAND ${OSSLSIGNCODE} sign ${options} -in ${PROGRAM} -out ${signed}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  file(REMOVE ${signed})
  message(FATAL_ERROR "Signing ${PROGRAM} with ${PFX} failed:\n${output}")
endif()
file(RENAME ${signed} ${PROGRAM})
