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
# The work folder differs from run to run: paths that name it (the recent
# list keeps absolute paths) show it as <work>.
string(REPLACE "${WORK}" "<work>" out "${out}")
set(actual "${out}exit=${rc}\n")
# NAME.then, when present, holds further qtx command lines run afterwards in
# the same folder (on the files the script saved); each adds "$ qtx LINE",
# its output and error output, and its exit status.
string(REGEX REPLACE "\\.qtxs$" ".then" then "${SCRIPT}")
if(EXISTS ${then})
  file(STRINGS ${then} lines)
  foreach(line IN LISTS lines)
    separate_arguments(args UNIX_COMMAND "${line}")
    execute_process(
      COMMAND ${QTX} ${args}
      WORKING_DIRECTORY ${WORK}
      OUTPUT_VARIABLE out
      ERROR_VARIABLE err
      RESULT_VARIABLE rc)
    string(REPLACE "${WORK}" "<work>" out "${out}")
    string(REPLACE "${WORK}" "<work>" err "${err}")
    string(APPEND actual "$ qtx ${line}\n${out}${err}exit=${rc}\n")
  endforeach()
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORK}/actual.out "${actual}")
  execute_process(COMMAND diff -u ${EXPECTED} ${WORK}/actual.out OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "scenario output differs (stderr: ${err}):\n${diff}")
endif()
