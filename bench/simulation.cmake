# The investment simulation: the full 2007-2014 run, headless, and the
# position evaluations it makes on their own.
vlt_bench(simulation_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/simulation_bench.cpp
  LIBS vlt_simulation)
target_compile_definitions(simulation_bench PRIVATE
  VLT_DATA_DIR="${CMAKE_SOURCE_DIR}/data")

# Price files of 25,000 lines and the statistics of a full run with 1000
# random-timing trials.
vlt_bench(prices_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/prices_bench.cpp
  LIBS vlt_simulation)

# The family statistics of a simulate --stats run and of a research family of
# 1890 combinations, 1000 trials, on 1 and 2 threads.
vlt_bench(family_statistics_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/family_statistics_bench.cpp
  LIBS vlt_simulation)

# Research across all pairs, both centres, 1950-2024, 1000 trials, on 1 and 2
# jobs; a few minutes.
vlt_bench(research_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/research_bench.cpp
  LIBS vlt_simulation)
