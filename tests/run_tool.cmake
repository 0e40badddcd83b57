# Runs one of the command-line tools and checks its exit status, that its
# standard output matches a pattern and, optionally, that standard error does.
#   -DTOOL=... "-DTOOL_ARGUMENTS=a;b" -DEXPECTED_STATUS=n -DEXPECTED_OUTPUT=regex [-DEXPECTED_ERRORS=regex]
execute_process(
  COMMAND ${TOOL} ${TOOL_ARGUMENTS}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}\nstdout:\n${output}\nstderr:\n${errors}")
endif()
if(NOT output MATCHES "${EXPECTED_OUTPUT}")
  message(FATAL_ERROR "standard output does not match '${EXPECTED_OUTPUT}':\n${output}")
endif()
if(DEFINED EXPECTED_ERRORS AND NOT errors MATCHES "${EXPECTED_ERRORS}")
  message(FATAL_ERROR "standard error does not match '${EXPECTED_ERRORS}':\n${errors}")
endif()
