# The soak driver (bench/soak.sh): real input into the program for minutes.
tarimoku_bench(soak_driver SOURCES ${CMAKE_CURRENT_LIST_DIR}/soak_driver.cpp)
if(TARGET soak_driver)
  target_link_options(soak_driver PRIVATE -municode)
endif()
