# The soak driver (bench/soak.sh): real input into the program for minutes.
tarimoku_bench(soak_driver SOURCES ${CMAKE_CURRENT_LIST_DIR}/soak_driver.cpp)
if(TARGET soak_driver)
  target_link_options(soak_driver PRIVATE -municode)
endif()
# The probe the driver loads into the program to count its GDI and USER objects.
if(TARIMOKU_KIND STREQUAL "windows")
  add_library(soak_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/soak_probe.cpp)
  set_target_properties(soak_probe PROPERTIES PREFIX "")
  target_compile_definitions(soak_probe PRIVATE ${TARIMOKU_WIN_DEFINES})
  target_include_directories(soak_probe PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(soak_probe PRIVATE user32 gdi32)
  target_link_options(soak_probe PRIVATE -static-libgcc -static-libstdc++)
endif()
