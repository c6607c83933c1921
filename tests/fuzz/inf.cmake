tarimoku_fuzz(fuzz_inf SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_inf.cpp DEPS tk_scheme_core)
