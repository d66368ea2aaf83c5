# Builds the package into OUT and runs lintian on it; any error or warning fails.
#   cmake -DBUILD=<builddir> -DOUT=<folder> -P package_lint.cmake
file(REMOVE_RECURSE ${OUT})
execute_process(
  COMMAND cpack --config ${BUILD}/CPackConfig.cmake -G DEB -B ${OUT}
  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed (${result}):\n${out}")
endif()
file(GLOB debs ${OUT}/stonewell_*.deb)
if(NOT debs)
  message(FATAL_ERROR "cpack made no package:\n${out}")
endif()
execute_process(
  COMMAND lintian --fail-on error,warning ${debs}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
message("${out}")
file(REMOVE_RECURSE ${OUT})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian found errors or warnings (${result}):\n${out}${err}")
endif()
