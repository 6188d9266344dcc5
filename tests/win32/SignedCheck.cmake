# Signs a copy of nivra.dll with a throwaway certificate authority (openssl and osslsigncode on
# the build machine, new keys each run) and runs the installation check on it, then on that
# signed copy with its calculation changed afterwards (tools/win32/break-dll.sh). Passes only
# when the first check passes and names the signer, the certificate's SHA-1 thumbprint and that
# this computer does not trust the authority, and the second fails on its signature before
# any case runs.
set(work signed)
file(REMOVE_RECURSE ${work})
# The shell scripts run in the C locale, which the machine has (the Russian one is Wine's).
set(script ${CMAKE_COMMAND} -E env LC_ALL=C)
execute_process(COMMAND ${script} ${SOURCE}/tools/dist/throwaway-ca.sh ${work}/ca
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND osslsigncode sign -pkcs12 ${work}/ca/signer.p12 -readpass ${work}/ca/password
          -h sha256 -in ${DLL} -out ${work}/nivra.dll
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${script} ${SOURCE}/tools/win32/break-dll.sh ${work}/nivra.dll
                        ${work}/changed/nivra.dll COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND openssl x509 -in ${work}/ca/signer.pem -noout -fingerprint -sha1
  OUTPUT_VARIABLE thumbprint COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "^.*=|:|\n" "" thumbprint "${thumbprint}")

# Runs the check on FILE; fails unless it exits with STATUS and prints every line of LINES.
function(expect_check file status)
  execute_process(
    COMMAND ${EMULATOR} ${CHECK} ${file} --report nivra-check-signed-report.txt
    RESULT_VARIABLE found OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  message("${output}")
  foreach(line IN LISTS ARGN)
    string(FIND "${output}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the check on ${file} did not print \"${line}\"\n${errors}")
    endif()
  endforeach()
  if(NOT found EQUAL status)
    message(FATAL_ERROR "the check on ${file} ended with ${found}, not ${status}\n${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

set(signer "Цифровая подпись: Нивра Лаб (тестовая подпись)"
           "Отпечаток сертификата (SHA-1): ${thumbprint}"
           "Время подписания: подпись без метки времени")
expect_check(${work}\\nivra.dll 0 ${signer}
  "Проверка подписи Windows: подпись цела, но сертификат выдан центром сертификации, которому этот компьютер не доверяет"
  "Итог: ПРОВЕРКА ПРОЙДЕНА, пройдены все примеры (7 из 7).")
expect_check(${work}\\changed\\nivra.dll 1 ${signer}
  "Проверка подписи Windows: ПОДПИСЬ НЕДЕЙСТВИТЕЛЬНА: файл изменён после подписания"
  "Контрольные примеры не проводились: файл изменён после подписания."
  "Итог: ПРОВЕРКА НЕ ПРОЙДЕНА, файл изменён после подписания. Не используйте эту установку для расчёта протоколов.")
if(output MATCHES "Контрольные примеры:")
  message(FATAL_ERROR "the check ran cases on a file changed after signing")
endif()
