jo_add_fuzzer(fuzz_doit SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_doit.cpp LIBS javadoc_core)
target_include_directories(fuzz_doit PRIVATE ${PROJECT_SOURCE_DIR})
# The Java source scanner and the comment renderer over arbitrary text.
jo_add_fuzzer(fuzz_java_source SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_java_source.cpp LIBS javadoc_source)
target_include_directories(fuzz_java_source PRIVATE ${PROJECT_SOURCE_DIR})
