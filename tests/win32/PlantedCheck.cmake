# Runs the installation check from a folder where libraries named like the system libraries it
# or nivra.dll could load lie beside it (PLANTED, each leaves a marker when its entry point
# runs), with Wine told to take those names from beside the program first, as Windows does for
# a library that is no KnownDLL. Passes only when the check passes all its cases and none of
# them was loaded: no marker, and no load from that folder in Wine's record of loaded modules.
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
# Three lie there without Wine being told to prefer them: Wine resolves the imports of its own
# system libraries with the program's folder first even after the program narrowed its search
# (its user32 imports version.dll at every start, its imagehlp dbghelp.dll, its common
# controls msimg32.dll). Windows takes a KnownDLL's imports as KnownDLLs and the others along
# the narrowed search.
set(preferred ${names})
list(REMOVE_ITEM preferred version dbghelp msimg32)
list(JOIN preferred "," overrides)
set(ENV{WINEDLLOVERRIDES} "$ENV{WINEDLLOVERRIDES};${overrides}=n,b")
# A library whose imports cannot be resolved is mapped but never started: Wine's record
# names it all the same.
set(ENV{WINEDEBUG} "-all,+loaddll")

get_filename_component(program ${CHECK} NAME)
execute_process(
  COMMAND ${EMULATOR} ${work}\\${program} --report nivra-check-planted-report.txt
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 240)
message("${output}")
file(GLOB markers RELATIVE ${CMAKE_CURRENT_BINARY_DIR}/${work} ${work}/*.loaded)
string(REGEX MATCHALL "\\\\${work}\\\\\\\\[A-Za-z0-9]+\\.dll\" at [0-9A-F]+: native" loaded
       "${errors}")
list(FILTER loaded EXCLUDE REGEX "nivra\\.dll")
if(markers OR loaded)
  message(FATAL_ERROR "planted libraries were loaded (${names} planted): ${markers} ${loaded}")
endif()
if(NOT status EQUAL 0 OR NOT output MATCHES "\nИтог: ПРОВЕРКА ПРОЙДЕНА, пройдены все примеры \\(7 из 7\\)\\.\n")
  message(FATAL_ERROR "the check among planted libraries ended with ${status}, not passing all "
                      "cases:\n${errors}")
endif()
