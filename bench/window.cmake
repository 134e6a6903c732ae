# Start-up of the main window: from an empty window to the idle window on the
# screen (offscreen platform), before the Pluto tables load.  Needs Qt.
if(VLT_BUILD_GUI)
  vlt_bench(window_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/window_bench.cpp
    LIBS vlt_qt vlt_window_commands)
  target_compile_definitions(window_bench PRIVATE VLT_BIN_DIR="${VLT_OUTPUT_DIR}")
endif()
