# Reads the program's version from res/version.h (its one place) into
# TARIMOKU_VERSION, "major.minor.release.build". Included before project(),
# so it uses nothing a project sets up.
set(_tk_version_file "${CMAKE_CURRENT_LIST_DIR}/../res/version.h")
file(STRINGS "${_tk_version_file}" _tk_version_lines
     REGEX "^#define TARIMOKU_VERSION_(MAJOR|MINOR|RELEASE|BUILD) +[0-9]+ *$")
set(TARIMOKU_VERSION "")
foreach(_tk_part MAJOR MINOR RELEASE BUILD)
  set(_tk_number "")
  foreach(_tk_line IN LISTS _tk_version_lines)
    if(_tk_line MATCHES "^#define TARIMOKU_VERSION_${_tk_part} +([0-9]+) *$")
      set(_tk_number "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(_tk_number STREQUAL "")
    message(FATAL_ERROR "${_tk_version_file} has no TARIMOKU_VERSION_${_tk_part} number")
  endif()
  if(TARIMOKU_VERSION STREQUAL "")
    set(TARIMOKU_VERSION "${_tk_number}")
  else()
    string(APPEND TARIMOKU_VERSION ".${_tk_number}")
  endif()
endforeach()
# Tell CMake to configure again when the version changes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_tk_version_file}")
