# The pose benchmark steps the show the build generates.
target_compile_definitions(bench_step_poses PRIVATE ORBELUNE_BENCH_DATA="${CMAKE_BINARY_DIR}/data")
if(TARGET content_data)
  add_dependencies(bench_step_poses content_data)
endif()
