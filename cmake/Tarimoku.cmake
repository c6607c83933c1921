# Shared settings and helpers for every target of the project.
include(GoogleTest)

set(TARIMOKU_WIN_DEFINES UNICODE _UNICODE NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800 STRICT STRICT_TYPED_ITEMIDS)
set(TARIMOKU_WIN_LIBS comctl32 shell32 ole32 oleaut32 uuid shlwapi version gdi32 user32 advapi32 comdlg32)

if(TARIMOKU_KIND STREQUAL "native")
  set(TARIMOKU_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # The library's own checks see what the sanitizers cannot: an empty
  # std::optional read, an index past a container's end inside its capacity.
  add_compile_options(${TARIMOKU_SAN_FLAGS} -g -O1)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  add_link_options(${TARIMOKU_SAN_FLAGS})
elseif(TARIMOKU_KIND STREQUAL "fuzz")
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -g -O1)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

# tarimoku_core_library(name SOURCES ...)
#   A library of window-free code: built in every kind of tree.
function(tarimoku_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# tarimoku_win_library(name SOURCES ... DEPS ...)
#   A library that uses the Windows API: built only in the windows tree.
function(tarimoku_win_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TARIMOKU_KIND STREQUAL "windows")
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PUBLIC ${TARIMOKU_WIN_DEFINES})
  target_link_libraries(${name} PUBLIC ${A_DEPS} ${TARIMOKU_WIN_LIBS})
endfunction()

# tarimoku_test(name SOURCES ... DEPS ... [CORE] [RESOURCES] [SERIAL])
#   CORE      : window-free test, built natively (sanitizers) and for Windows.
#   RESOURCES : link the program's resource script (menus, dialogs, version).
#   SERIAL    : the tests must not run beside other tests (global state such
#               as the clipboard or the pointer position).
function(tarimoku_test name)
  cmake_parse_arguments(A "CORE;RESOURCES;SERIAL" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  if(TARIMOKU_KIND STREQUAL "native")
    if(NOT A_CORE)
      return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE TARIMOKU_CORPUS="${TARIMOKU_CORPUS}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${A_TIMEOUT} LABELS native)
  elseif(TARIMOKU_KIND STREQUAL "windows")
    set(srcs ${A_SOURCES})
    if(A_RESOURCES)
      list(APPEND srcs ${PROJECT_SOURCE_DIR}/res/tarimoku.rc)
    endif()
    add_executable(${name} ${srcs})
    if(A_RESOURCES)
      tarimoku_rc_depends(${PROJECT_SOURCE_DIR}/res/tarimoku.rc)
    endif()
    target_link_libraries(${name} PRIVATE ${A_DEPS} tk_testmain ${TARIMOKU_GTEST})
    set(props TIMEOUT ${A_TIMEOUT} LABELS wine)
    if(A_SERIAL)
      list(APPEND props RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ${props})
  endif()
endfunction()

# tarimoku_fuzz(name SOURCES ... DEPS ...): a libFuzzer target (fuzz tree only).
function(tarimoku_fuzz name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TARIMOKU_KIND STREQUAL "fuzz")
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# windres writes no depfile: make the script's inputs explicit.
function(tarimoku_rc_depends rc)
  file(GLOB deps ${PROJECT_SOURCE_DIR}/res/*.bmp ${PROJECT_SOURCE_DIR}/res/*.ico
                 ${PROJECT_SOURCE_DIR}/res/*.manifest ${PROJECT_SOURCE_DIR}/res/*.h)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${deps}")
endfunction()
