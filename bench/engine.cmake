# The transit scan over long periods with the program's own positions,
# headless (no repaint, no box limit).
vlt_bench(engine_bench SOURCES engine_bench.cpp LIBS vlt_engine)
target_compile_definitions(engine_bench PRIVATE
  VLT_ENGINE_DATA_DIRS="${VLT_OUTPUT_DIR}/|${CMAKE_SOURCE_DIR}/data/")
