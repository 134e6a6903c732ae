# Positions in the main program: loading the Pluto tables, one longitude per
# planet and centricity, and the retrograde test.  Reads the data files from
# the program folder (build/bin), else from the source tree's data folder.
vlt_bench(positions_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/positions_bench.cpp
  LIBS vlt_positions)
target_compile_definitions(positions_bench PRIVATE
  VLT_SOURCE_DATA_DIR="${CMAKE_SOURCE_DIR}/data/")
