# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DTOOLCHAIN=... -DBUILD_TYPE=...
#       -DREFERENCE=<tarimoku.exe of another build> -P same_bytes.cmake
# Configures a fresh tree in BUILD_DIR, builds only tarimoku there and fails
# unless its bytes are those of REFERENCE, and unless neither names the
# source folder or a build folder.
foreach(var SOURCE_DIR BUILD_DIR TOOLCHAIN BUILD_TYPE REFERENCE)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${BUILD_DIR}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G Ninja
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
  OUTPUT_QUIET RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring ${BUILD_DIR} failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD_DIR}" --target tarimoku -j 2
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building tarimoku in ${BUILD_DIR} failed (${rc}):\n${out}")
endif()

set(second "${BUILD_DIR}/app/tarimoku.exe")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${REFERENCE}" "${second}" RESULT_VARIABLE differ)
if(differ)
  file(SHA256 "${REFERENCE}" a)
  file(SHA256 "${second}" b)
  message(FATAL_ERROR "tarimoku.exe differs between two builds:\n  ${REFERENCE} ${a}\n  ${second} ${b}")
endif()
get_filename_component(reference_tree "${REFERENCE}" DIRECTORY)
get_filename_component(reference_tree "${reference_tree}" DIRECTORY)
foreach(folder "${SOURCE_DIR}" "${BUILD_DIR}" "${reference_tree}")
  file(STRINGS "${REFERENCE}" found LIMIT_COUNT 1 REGEX "${folder}")
  if(found)
    message(FATAL_ERROR "tarimoku.exe names the folder ${folder}: ${found}")
  endif()
endforeach()
file(REMOVE_RECURSE "${BUILD_DIR}")
message(STATUS "tarimoku.exe is byte-identical in ${BUILD_DIR} and beside ${REFERENCE}")
