# Importing a million-triangle mesh from glTF and OBJ against the same mesh as VRML (bench/million_triangle_model.py).
quillmere_add_benchmark(model_import_benchmark ${CMAKE_CURRENT_LIST_DIR}/model_import_benchmark.cpp)
target_link_libraries(model_import_benchmark PRIVATE quillmere::scene quillmere::display quillmere::scene quillmere::support quillmere::vrml)
target_compile_definitions(model_import_benchmark PRIVATE
  QUILLMERE_MODEL_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/million_triangle_model.py")
