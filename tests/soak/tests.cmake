# The long run of the scan cycle, left out of the normal test command:
#   ctest --test-dir build/asan -L soak
korvyn_test_environment(test_soak_long soak_env)
add_test(NAME soak_scan_cycle_1000000_ticks COMMAND test_soak --gtest_filter=ScanCycleSoak.*)
set_tests_properties(soak_scan_cycle_1000000_ticks PROPERTIES
    LABELS soak TIMEOUT 14400 ENVIRONMENT "${soak_env};KORVYN_SOAK_TICKS=1000000")
