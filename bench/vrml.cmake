# Reading a generated ~10 MB scene (one large Coordinate3 and IndexedFaceSet).
quillmere_add_benchmark(vrml_read_benchmark ${CMAKE_CURRENT_LIST_DIR}/vrml_read_benchmark.cpp)
target_link_libraries(vrml_read_benchmark PRIVATE quillmere::vrml)
