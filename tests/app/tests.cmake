# The program itself, run headless as a user would from a shell, its output and its files
# read back by independent readers (Debian's python3 with python3-xlrd).
if(TARGET korvyn)
    korvyn_test_environment(app_end_to_end app_env)
    foreach(case scan_print_export exit_status classes_and_bands odd_files environment)
        add_test(NAME app_end_to_end_${case}
                 COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_end_to_end.py
                         $<TARGET_FILE:korvyn> ${case})
        set_tests_properties(app_end_to_end_${case} PROPERTIES LABELS app
                             ENVIRONMENT "${app_env}")
    endforeach()
    add_test(NAME app_network_names
             COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_names.py $<TARGET_FILE:korvyn>)
    set_tests_properties(app_network_names PROPERTIES LABELS app ENVIRONMENT "${app_env}")
    # What `cmake --install` puts in place: the program, its menu entry, icon and manual.
    add_test(NAME app_install
             COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_install.py
                     ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR})
    set_tests_properties(app_install PROPERTIES LABELS app ENVIRONMENT "${app_env}")
endif()
