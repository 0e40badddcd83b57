# One frame of the display scene: the per-vertex transform and the spectral colours.
quillmere_add_benchmark(display_frame_benchmark ${CMAKE_CURRENT_LIST_DIR}/display_frame_benchmark.cpp)
target_link_libraries(display_frame_benchmark PRIVATE quillmere::display quillmere::render_state quillmere::colour)
