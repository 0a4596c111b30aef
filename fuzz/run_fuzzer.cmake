# Runs one fuzz target for a bounded time over a fresh copy of its seed
# corpus and fails on any finding, which is kept under ARTIFACTS.
# cmake -D FUZZER= -D CORPUS= -D SCRATCH= -D ARTIFACTS= -D SECONDS= -P run_fuzzer.cmake
foreach(variable FUZZER CORPUS SCRATCH ARTIFACTS SECONDS)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "run_fuzzer.cmake needs -D ${variable}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}" "${ARTIFACTS}")
file(COPY "${CORPUS}/" DESTINATION "${SCRATCH}")

# Undefined behaviour only prints by default; a finding must end the run.
set(ENV{UBSAN_OPTIONS} "halt_on_error=1:abort_on_error=1:print_stacktrace=1")

execute_process(
    COMMAND "${FUZZER}"
        -max_total_time=${SECONDS} -timeout=5 -rss_limit_mb=2048 -max_len=4096
        -print_final_stats=1 -artifact_prefix=${ARTIFACTS}/
        "${SCRATCH}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${ARTIFACTS}")
endif()
