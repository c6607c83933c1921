tarimoku_bench(bench_fileview SOURCES ${CMAKE_CURRENT_LIST_DIR}/fileview_bench.cpp DEPS tk_fileview)
