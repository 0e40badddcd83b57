# One frame of the display scene: the per-vertex transform and the spectral colours.
quillmere_add_benchmark(display_frame_benchmark ${CMAKE_CURRENT_LIST_DIR}/display_frame_benchmark.cpp)
target_link_libraries(display_frame_benchmark PRIVATE quillmere::display quillmere::scene quillmere::support quillmere::gl quillmere::colour)
# Reading and converting a CAD-style scene of a million faces (bench/large_mesh_scene.py).
quillmere_add_benchmark(scene_conversion_benchmark ${CMAKE_CURRENT_LIST_DIR}/scene_conversion_benchmark.cpp)
target_link_libraries(scene_conversion_benchmark PRIVATE quillmere::display quillmere::scene quillmere::support quillmere::vrml)
target_compile_definitions(scene_conversion_benchmark PRIVATE
  QUILLMERE_LARGE_MESH_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/large_mesh_scene.py")
