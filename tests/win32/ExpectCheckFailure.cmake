# Runs the installation check on broken/nivra.dll (limits 1.2 times too large, unsigned) and
# passes only when the check fails with exit code 1, names the first wrong cell of the worked
# example, expected and found, and says the file is not signed.
execute_process(
  COMMAND ${EMULATOR} ${CHECK} broken\\nivra.dll --report nivra-check-broken-report.txt
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}")
set(cell "1. Пример расчёта из методики (база версии 26: оператор из справочника): НЕ ПРОЙДЕН — шаг «протокол в окне»: строка 1 «Азот», столбец «Предел»: ожидалось «0.000220», получено «0.000264»")
string(FIND "${output}" "${cell}" found)
if(NOT status EQUAL 1 OR found EQUAL -1 OR NOT output MATCHES "Итог: ПРОВЕРКА НЕ ПРОЙДЕНА"
   OR NOT output MATCHES "\nЦифровая подпись: файл не подписан\n")
  message(FATAL_ERROR "the check on the broken copy ended with ${status} and did not name the "
                      "cell it should have, or not that the file is unsigned:\n${errors}")
endif()
