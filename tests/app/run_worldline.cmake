# Runs quillmere-worldline on one parameter file and checks its exit status,
# and optionally its first output line and a pattern in its output.
#   -DTOOL=... -DPARAMETER_FILE=... [-DTOOL_ARGUMENTS="--steps;3"]
#   -DEXPECTED_STATUS=n [-DEXPECTED_FIRST_LINE=...] [-DEXPECTED_OUTPUT=regex]
execute_process(
  COMMAND ${TOOL} ${PARAMETER_FILE} ${TOOL_ARGUMENTS}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}\nstdout:\n${output}\nstderr:\n${errors}")
endif()
if(DEFINED EXPECTED_FIRST_LINE)
  string(REGEX MATCH "^[^\n]*" firstLine "${output}")
  if(NOT firstLine STREQUAL EXPECTED_FIRST_LINE)
    message(FATAL_ERROR "first line '${firstLine}', expected '${EXPECTED_FIRST_LINE}'")
  endif()
endif()
if(DEFINED EXPECTED_OUTPUT AND NOT "${output}${errors}" MATCHES "${EXPECTED_OUTPUT}")
  message(FATAL_ERROR "output does not match '${EXPECTED_OUTPUT}':\n${output}${errors}")
endif()
