# Runs one fuzzer under CTest: a bounded run from the shared corpus files, with new
# inputs kept in a scratch directory that starts empty every time, so that every run
# with the same seed tries the same inputs in the same order.
#   cmake -DFUZZER=... -DWORK=... -DSEEDS=... -DSECONDS=... -DSEED=... -P runfuzzer.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
  COMMAND "${FUZZER}" -seed=${SEED} -max_total_time=${SECONDS} -timeout=20 -rss_limit_mb=2048
          -artifact_prefix=${WORK}-  "${WORK}" "${SEEDS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is beside ${WORK}")
endif()
