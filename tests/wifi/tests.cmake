# The diagnostic build's trace lines, checked in every build: the trace source and the
# adapter code that writes it are compiled a second time with the trace switched on, and
# their tests run against that copy (ctest names "trace.*"). The copy comes first on the
# link line, so its objects stand in for the release ones of korvyn_core.
if(NOT KORVYN_TRACE)
    add_library(korvyn_wifi_trace STATIC
        ${PROJECT_SOURCE_DIR}/src/wifi/TraceMessage.cpp ${PROJECT_SOURCE_DIR}/src/wifi/DAvirIzev.cpp)
    target_compile_definitions(korvyn_wifi_trace PUBLIC KORVYN_TRACE=1)
    target_link_libraries(korvyn_wifi_trace PUBLIC korvyn_core)

    add_executable(test_wifi_trace ${CMAKE_CURRENT_LIST_DIR}/TraceMessage_test.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/DAvirIzev_test.cpp)
    target_link_libraries(test_wifi_trace PRIVATE korvyn_wifi_trace korvyn_test_support
                          GTest::gtest_main)
    korvyn_test_environment(test_wifi_trace trace_env)
    gtest_discover_tests(test_wifi_trace TEST_PREFIX "trace." DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${trace_env}" LABELS trace)
endif()
