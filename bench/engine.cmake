# The transit scan over long periods with the program's own positions,
# headless (no repaint, no box limit).
vlt_bench(engine_bench SOURCES engine_bench.cpp LIBS vlt_engine)
target_compile_definitions(engine_bench PRIVATE
  VLT_ENGINE_DATA_DIRS="${VLT_OUTPUT_DIR}/|${CMAKE_SOURCE_DIR}/data/")
if(VLT_HAVE_SWE)
  # The yardstick: a plain transit finder on the Swiss Ephemeris, run in the
  # same program so that the ratio is measured side by side.
  target_sources(engine_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/swe_transit_finder.cpp)
  target_link_libraries(engine_bench PRIVATE swe_oracle)
endif()
