# The developer scripts' own logic.
add_test(NAME scripts_mutants COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_mutants.py)
set_tests_properties(scripts_mutants PROPERTIES LABELS scripts)
