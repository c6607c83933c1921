tarimoku_bench(bench_schemes SOURCES ${CMAKE_CURRENT_LIST_DIR}/schemes_bench.cpp DEPS tk_scheme tk_anicur)
