tarimoku_bench(bench_anicur SOURCES ${CMAKE_CURRENT_LIST_DIR}/anicur_bench.cpp DEPS tk_anicur)
