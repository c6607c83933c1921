tarimoku_fuzz(fuzz_anicur SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_anicur.cpp DEPS tk_anicur_core)
