# Reports of the bundled sample editions, written from the result files of
# a real tessel-cli run: cmake -DCLI=... -DREPLAY=... -DTOP=... -DOUT=...
# -P ReplaySamples.cmake. Each case also keeps its difference file as
# NAME.diff.txt, which check_agreement.py rebuilds from the JSON.
set(SAMPLES ${TOP}/samples)
function(replay name)
  set(sources ${ARGN})
  set(cli_args --quiet --sign-file ${SAMPLES}/signs.txt)
  set(replay_args --signs ${SAMPLES}/signs.txt ${OUT}/${name})
  set(k 0)
  foreach(source IN LISTS sources)
    math(EXPR k "${k} + 1")
    list(APPEND cli_args ${SAMPLES}/${source} --result ${OUT}/${name}.result${k})
    list(APPEND replay_args ${SAMPLES}/${source} ${OUT}/${name}.result${k})
  endforeach()
  execute_process(COMMAND ${CLI} ${cli_args} --diff ${OUT}/${name}.diff.txt
    RESULT_VARIABLE status)
  # 0 the same, 1 different: both complete.
  if(NOT status MATCHES "^[01]$")
    message(FATAL_ERROR "tessel-cli on ${name}: ${status}")
  endif()
  execute_process(COMMAND ${REPLAY} ${replay_args} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "replay-reports on ${name}: ${status}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${OUT})
replay(daodejing-two edition-a.txt edition-b.txt)
replay(daodejing-three edition-a.txt edition-b.txt edition-c.txt)
