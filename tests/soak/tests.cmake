# The long runs, left out of the normal test command (ctest --test-dir build/asan -L soak):
# the scan cycle for a million ticks, and the whole program on the churning adapter, which
# also runs briefly in the tests. Each program run takes the given ticks and then twice as many.
korvyn_test_environment(test_soak_long soak_env)
add_test(NAME soak_scan_cycle_1000000_ticks COMMAND test_soak --gtest_filter=ScanCycleSoak.*)
set_tests_properties(soak_scan_cycle_1000000_ticks PROPERTIES
    LABELS soak TIMEOUT 14400 ENVIRONMENT "${soak_env};KORVYN_SOAK_TICKS=1000000")
if(TARGET korvyn)
    korvyn_test_environment(program_soak program_soak_env)
    foreach(ticks 2000 500000)
        add_test(NAME program_soak_${ticks}_ticks
                 COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_program_soak.py
                         $<TARGET_FILE:korvyn> ${ticks})
        set_tests_properties(program_soak_${ticks}_ticks PROPERTIES
            ENVIRONMENT "${program_soak_env}" TIMEOUT 28800)
    endforeach()
    set_tests_properties(program_soak_500000_ticks PROPERTIES LABELS soak)
endif()
