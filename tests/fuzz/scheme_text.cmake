tarimoku_fuzz(fuzz_scheme_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_scheme_text.cpp DEPS tk_scheme_core)
