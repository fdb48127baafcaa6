# Replays one scenario script in an empty work folder with its own settings
# file and compares the output with the expected text.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{QUANTORIX_SETTINGS} ${WORK}/settings.ini)
set(ENV{XDG_CACHE_HOME} ${WORK}/cache)
execute_process(
  COMMAND ${QTX} run ${SCRIPT}
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
set(actual "${out}exit=${rc}\n")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORK}/actual.out "${actual}")
  execute_process(COMMAND diff -u ${EXPECTED} ${WORK}/actual.out OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "scenario output differs (stderr: ${err}):\n${diff}")
endif()
