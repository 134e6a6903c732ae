# One call of each operation of the positions library, and one sin for scale.
vlt_bench(planets_bench SOURCES planets_bench.cpp LIBS planets_vlt_static)
# The Moon's benchmark reads the committed coefficient file.
target_compile_definitions(planets_bench PRIVATE VLT_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
