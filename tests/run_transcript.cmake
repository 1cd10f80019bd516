# Replays one story script and compares what the player saw with the
# expected transcript beside it (SCRIPT with .script replaced by .expected).
# The first line of the script may be "# seed: N" to seed the random source.
string(REGEX REPLACE "\\.script$" ".expected" EXPECTED "${SCRIPT}")
file(STRINGS "${SCRIPT}" first LIMIT_COUNT 1)
set(seed_args)
if(first MATCHES "^# seed: ([0-9]+)")
  set(seed_args --seed ${CMAKE_MATCH_1})
endif()
execute_process(COMMAND ${REPLAY} ${seed_args} ${SCRIPT}
  OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT EXISTS "${EXPECTED}")
  message(FATAL_ERROR "no expected transcript ${EXPECTED}; the replay printed:\n${actual}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  file(WRITE "${OUT}" "${actual}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${OUT}" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "transcript differs from ${EXPECTED}:\n${difference}")
endif()
# A script that is meant to be refused says so with an "error:" line in its
# expected transcript; any other must play through.
if(NOT status EQUAL 0 AND NOT expected MATCHES "(^|\n)error: ")
  message(FATAL_ERROR "the replay exited with ${status}")
endif()
