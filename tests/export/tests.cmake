# The export's files read back by independent readers: Debian's python3-xlrd and
# python3-olefile (with Debian's own python3).
add_executable(export_sample ${CMAKE_CURRENT_LIST_DIR}/ExportSample.cpp)
target_link_libraries(export_sample PRIVATE korvyn_core)
target_include_directories(export_sample PRIVATE ${CMAKE_CURRENT_LIST_DIR})

korvyn_test_environment(export_reader export_env)
function(korvyn_export_reader_test name script)
    add_test(NAME export_reader_${name}
             COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/${script}
                     $<TARGET_FILE:export_sample> ${ARGN})
    set_tests_properties(export_reader_${name} PROPERTIES LABELS export
                         ENVIRONMENT "${export_env}")
endfunction()

korvyn_export_reader_test(xls_empty check_xls.py stations 0)
korvyn_export_reader_test(xls_65535_rows check_xls.py stations 65535)
korvyn_export_reader_test(xls_sst_split_even check_xls.py sst even)
korvyn_export_reader_test(xls_sst_split_odd check_xls.py sst odd)
korvyn_export_reader_test(xls_sst_new_record check_xls.py sst tight)
korvyn_export_reader_test(xls_numbers check_xls.py numbers)
korvyn_export_reader_test(streams_below_mini_cutoff check_streams.py 4095
                          sectors=11 tables=1 root=2 minitable=3)
korvyn_export_reader_test(streams_at_mini_cutoff check_streams.py 4096 sectors=10 root=end
                          minitable=none)
korvyn_export_reader_test(streams_126_sectors check_streams.py 64512 sectors=128 tables=1)
korvyn_export_reader_test(streams_126_sectors_and_a_byte check_streams.py 64513 sectors=130
                          tables=2)
korvyn_export_reader_test(streams_many_small check_streams.py 3000 5000 3000 3000 100 0)
# 141 mini sectors need a second mini-table sector, which moves the sectors behind it.
korvyn_export_reader_test(streams_second_mini_table check_streams.py 3000 5000 3000 3000
                          minitable=3,4)
korvyn_export_reader_test(streams_rewritten check_streams.py 3000 5000 3000 3000 0=5000 1=10)
korvyn_export_reader_test(streams_rewritten_twice check_streams.py 3000 5000 3000 3000
                          0=5000 2=8000 0=10)
korvyn_export_reader_test(streams_emptied check_streams.py 3000 5000 3000 3000 0=0 1=0 2=0 3=0
                          sectors=27 root=end minitable=none)
korvyn_export_reader_test(streams_table_list_extended check_streams.py 7500000)

# The workbook tests read streams back with the fuzz targets' independent reader.
target_sources(test_export PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/support/BiffReader.cpp)
target_include_directories(test_export PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
