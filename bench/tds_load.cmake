# The .3ds benchmark compares against the Open Asset Import Library and reads
# the meshes of the data folder the build generates.
find_package(assimp REQUIRED)
target_link_libraries(bench_tds_load PRIVATE assimp::assimp orbelune_writers)
target_compile_definitions(bench_tds_load PRIVATE ORBELUNE_BENCH_DATA="${CMAKE_BINARY_DIR}/data")
if(TARGET content_data)
  add_dependencies(bench_tds_load content_data)
endif()
