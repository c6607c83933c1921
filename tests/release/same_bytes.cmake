# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DTOOLCHAIN=... -DBUILD_TYPE=...
#       -DREFERENCE=<tarimoku.exe of another build>
#       -DZIP_REFERENCE=<portable zip of that build> -DZIP_NAME=<its path in a tree>
#       -P same_bytes.cmake
# Configures a fresh tree in BUILD_DIR, builds the program and the portable
# zip there and fails unless their bytes are those of the references, and
# unless the program names neither the source folder nor a build folder.
foreach(var SOURCE_DIR BUILD_DIR TOOLCHAIN BUILD_TYPE REFERENCE ZIP_REFERENCE ZIP_NAME)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# The zip's entries carry the date of the sources as the reference tree
# looked it up (the last commit's): the second tree takes the same, so a
# commit made since the reference was built does not count as a difference.
get_filename_component(reference_tree "${ZIP_REFERENCE}" DIRECTORY)
get_filename_component(reference_tree "${reference_tree}" DIRECTORY)
if(EXISTS "${reference_tree}/packaging/zip_date")
  file(READ "${reference_tree}/packaging/zip_date" date)
  string(STRIP "${date}" date)
  set(ENV{SOURCE_DATE_EPOCH} "${date}")
endif()

file(REMOVE_RECURSE "${BUILD_DIR}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G Ninja
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
  OUTPUT_QUIET RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring ${BUILD_DIR} failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD_DIR}" --target tarimoku_portable -j 2
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building tarimoku_portable in ${BUILD_DIR} failed (${rc}):\n${out}")
endif()

foreach(pair "${REFERENCE}|app/tarimoku.exe" "${ZIP_REFERENCE}|${ZIP_NAME}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 reference)
  list(GET pair 1 name)
  set(second "${BUILD_DIR}/${name}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${reference}" "${second}" RESULT_VARIABLE differ)
  if(differ)
    file(SHA256 "${reference}" a)
    file(SHA256 "${second}" b)
    message(FATAL_ERROR "${name} differs between two builds:\n  ${reference} ${a}\n  ${second} ${b}")
  endif()
endforeach()
get_filename_component(reference_tree "${REFERENCE}" DIRECTORY)
get_filename_component(reference_tree "${reference_tree}" DIRECTORY)
foreach(folder "${SOURCE_DIR}" "${BUILD_DIR}" "${reference_tree}")
  file(STRINGS "${REFERENCE}" found LIMIT_COUNT 1 REGEX "${folder}")
  if(found)
    message(FATAL_ERROR "tarimoku.exe names the folder ${folder}: ${found}")
  endif()
endforeach()
file(REMOVE_RECURSE "${BUILD_DIR}")
message(STATUS "tarimoku.exe and the portable zip are byte-identical in ${BUILD_DIR} and beside ${REFERENCE}")
