# Runs a libFuzzer target for a bounded number of inputs, starting from its checked-in seed
# corpus; new inputs go to a work corpus that starts empty on every run, so the seeds stay as
# they are. Arguments: FUZZER, SEEDS, WORK, RUNS, MAX_LEN.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${FUZZER} -runs=${RUNS} -seed=2004 -max_len=${MAX_LEN} -timeout=30
          -print_final_stats=1 ${WORK} ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in the output above")
endif()
