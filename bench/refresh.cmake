tarimoku_bench(bench_refresh RESOURCES SOURCES ${CMAKE_CURRENT_LIST_DIR}/refresh_bench.cpp DEPS tk_app)
tarimoku_bench(bench_refresh_churn RESOURCES SOURCES ${CMAKE_CURRENT_LIST_DIR}/refresh_churn_bench.cpp DEPS tk_app)
