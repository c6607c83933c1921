tarimoku_bench(bench_previews RESOURCES SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/previews_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/previews_reference.cpp
  DEPS tk_app)
