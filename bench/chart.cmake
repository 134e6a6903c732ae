# The simulation chart's random-timing band.
vlt_bench(chart_band_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chart_band_bench.cpp
  LIBS vlt_chart)
