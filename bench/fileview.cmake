# Until the folder tree's library exists, the list's calls into the tree link
# against the tests' stand-in.
set(fileview_bench_tree)
if(NOT TARGET tk_folderview)
  set(fileview_bench_tree ${PROJECT_SOURCE_DIR}/tests/shview_fileview/folderview_standin.cpp)
endif()
tarimoku_bench(bench_fileview SOURCES ${CMAKE_CURRENT_LIST_DIR}/fileview_bench.cpp ${fileview_bench_tree}
  DEPS tk_fileview)
