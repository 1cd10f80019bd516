# Replays one story script and compares what the player saw with the
# expected transcript beside it (SCRIPT with .script replaced by .expected).
# The first line of the script may be "# seed: N" to seed the random source.
# MODE=window plays it through the real window under Qt's offscreen platform
# instead of the headless player; MODE=web through the web page built in
# WEB_SITE, in headless Chromium (REPLAY is then node and WEB_DRIVER
# tests/web/replay.mjs). The transcript must be the same. MODE=spoken plays
# it headless with --spoken, against a transcript of its own.
string(REGEX REPLACE "\\.script$" ".expected" EXPECTED "${SCRIPT}")
file(STRINGS "${SCRIPT}" first LIMIT_COUNT 1)
set(seed_args)
if(first MATCHES "^# seed: ([0-9]+)")
  set(seed_args --seed ${CMAKE_MATCH_1})
endif()
set(mode_args)
if(MODE STREQUAL "window")
  set(mode_args --window)
  if(NOT DEFINED ENV{QT_QPA_PLATFORM})
    set(ENV{QT_QPA_PLATFORM} offscreen)
  endif()
elseif(MODE STREQUAL "web")
  set(mode_args ${WEB_DRIVER} --site ${WEB_SITE})
elseif(MODE STREQUAL "spoken")
  set(mode_args --spoken)
elseif(DEFINED MODE AND NOT MODE STREQUAL "" AND NOT MODE STREQUAL "headless")
  message(FATAL_ERROR "unknown MODE ${MODE}: headless, window, web or spoken")
endif()
# Qt's platform plugin talks on stderr; it is shown only when the run fails
# (as is the web player's account of a fault of the page).
execute_process(COMMAND ${REPLAY} ${mode_args} ${seed_args} ${SCRIPT}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT EXISTS "${EXPECTED}")
  message(FATAL_ERROR "no expected transcript ${EXPECTED}; the replay printed:\n${actual}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  file(WRITE "${OUT}" "${actual}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${OUT}" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "transcript differs from ${EXPECTED}:\n${difference}\n${errors}")
endif()
# A script that is meant to be refused says so with an "error:" line in its
# expected transcript; any other must play through.
if(NOT status EQUAL 0 AND NOT expected MATCHES "(^|\n)error: ")
  message(FATAL_ERROR "the replay exited with ${status}\n${errors}")
endif()
# The web player exits with 1 for a fault of the page (a click that lands
# on something else, an exception, a console error), whatever it printed.
if(MODE STREQUAL "web" AND status EQUAL 1)
  message(FATAL_ERROR "the page failed:\n${errors}")
endif()
