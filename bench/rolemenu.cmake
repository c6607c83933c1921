tarimoku_bench(bench_rolemenu SOURCES ${CMAKE_CURRENT_LIST_DIR}/rolemenu_bench.cpp DEPS tk_app)
