# vlt_test(NAME <name> LABEL <group> SOURCES <files...> LIBS <targets...>)
# One GoogleTest program whose cases ctest discovers one by one.  LABEL names
# the test group (ctest -L <group>); "gui" and "oracle" have special meaning in
# the test script.
function(vlt_test)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${T_NAME} PRIVATE
    VLT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VLT_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
    VLT_BIN_DIR="${VLT_OUTPUT_DIR}")
  gtest_discover_tests(${T_NAME}
    PROPERTIES LABELS "${T_LABEL}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# vlt_include_root(<target> <scope> <folder>)
# Gives <target> an include root that holds only <folder> of the source tree
# (a link under the build folder), so that "app/engine/x.h" is found by the
# targets that link the engine and by no other.  A layer that includes a
# header of a layer it does not depend on fails to compile.
function(vlt_include_root target scope folder)
  string(REPLACE "/" "_" key "${folder}")
  set(root "${CMAKE_BINARY_DIR}/include-roots/${key}")
  get_filename_component(parent "${root}/${folder}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  target_include_directories(${target} ${scope} "${root}")
endfunction()

# vlt_layer(<target> SOURCES <files...> LIBS <targets...>)
# A static library of the main program's logic (no toolkit).  It sees its own
# folder and the folders of the layers it links, nothing else.
function(vlt_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  file(RELATIVE_PATH folder "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  vlt_include_root(${name} PUBLIC "${folder}")
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()
