tarimoku_bench(bench_refresh RESOURCES SOURCES ${CMAKE_CURRENT_LIST_DIR}/refresh_bench.cpp DEPS tk_app)
