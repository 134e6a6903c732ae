# One call of each operation of the positions library, and one sin for scale.
vlt_bench(planets_bench SOURCES planets_bench.cpp LIBS planets_vlt_static)
