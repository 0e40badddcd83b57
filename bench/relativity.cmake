# Per-vertex apparent positions, against a plain copy of the same bytes.
quillmere_add_benchmark(lorentz_transform_benchmark ${CMAKE_CURRENT_LIST_DIR}/lorentz_transform_benchmark.cpp)
target_link_libraries(lorentz_transform_benchmark PRIVATE quillmere::relativity)
