tarimoku_bench(bench_dirmon SOURCES ${CMAKE_CURRENT_LIST_DIR}/dirmon_bench.cpp DEPS tk_dirmon)
