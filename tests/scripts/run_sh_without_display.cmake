# ./run.sh without a display stops at once: a note on standard error and status 1, before
# anything is installed, built or started (both for the module and for the control gallery).
foreach(extra "" "--gallery")
  execute_process(
    COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM CGT_BUILD_DIR=${BUILD}/no-such
            bash ${ROOT}/run.sh ${extra}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 60)
  if(NOT status EQUAL 1)
    message(FATAL_ERROR "run.sh ${extra} without a display: status ${status}\n${out}\n${err}")
  endif()
  if(NOT err MATCHES "no display found")
    message(FATAL_ERROR "run.sh ${extra} without a display gave no note:\n${err}")
  endif()
  if(EXISTS ${BUILD}/no-such)
    message(FATAL_ERROR "run.sh ${extra} without a display started a build")
  endif()
endforeach()
