# Runs the installation check from a folder where libraries named like the system libraries it
# or nivra.dll could load lie beside it (PLANTED, each leaves a marker when loaded), with Wine
# told to take those names from beside the program first, as Windows does for a library that
# is no KnownDLL. Passes only when the check passes all its cases and no marker appears.
set(work planted)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(COPY ${CHECK} ${DLL} DESTINATION ${work})
file(GLOB libraries ${PLANTED}/*.dll)
file(COPY ${libraries} DESTINATION ${work})
set(names)
foreach(library IN LISTS libraries)
  get_filename_component(name ${library} NAME_WE)
  list(APPEND names ${name})
endforeach()
list(JOIN names "," overrides)
set(ENV{WINEDLLOVERRIDES} "$ENV{WINEDLLOVERRIDES};${overrides}=n,b")

get_filename_component(program ${CHECK} NAME)
execute_process(
  COMMAND ${EMULATOR} ${work}\\${program} --report nivra-check-planted-report.txt
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}")
file(GLOB markers RELATIVE ${CMAKE_CURRENT_BINARY_DIR}/${work} ${work}/*.loaded)
if(markers)
  message(FATAL_ERROR "planted libraries were loaded (${names} planted): ${markers}\n${errors}")
endif()
if(NOT status EQUAL 0 OR NOT output MATCHES "\nИтог: ПРОВЕРКА ПРОЙДЕНА, пройдены все примеры \\(7 из 7\\)\\.\n")
  message(FATAL_ERROR "the check among planted libraries ended with ${status}, not passing all "
                      "cases:\n${errors}")
endif()
