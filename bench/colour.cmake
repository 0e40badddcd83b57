# Per-vertex colour of the spectral drawing path.
quillmere_add_benchmark(spectral_shading_benchmark ${CMAKE_CURRENT_LIST_DIR}/spectral_shading_benchmark.cpp)
target_link_libraries(spectral_shading_benchmark PRIVATE quillmere::colour)
