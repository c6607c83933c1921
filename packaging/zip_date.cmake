# cmake -DSOURCE_DIR=... -DOUT=<file> -P zip_date.cmake
# Writes the date of the sources, in seconds since 1970, to OUT, and touches
# OUT only when the date changed: $SOURCE_DATE_EPOCH when set, else the last
# commit's date, else 2026-01-01 for sources outside git.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(date "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY "${SOURCE_DIR}"
                  OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    set(date "")
  endif()
endif()
if(NOT date MATCHES "^[0-9]+$")
  set(date 1767225600)
endif()
file(CONFIGURE OUTPUT "${OUT}" CONTENT "${date}\n")
