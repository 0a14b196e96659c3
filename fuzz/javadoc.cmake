jo_add_fuzzer(fuzz_doit SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_doit.cpp LIBS javadoc_core)
target_include_directories(fuzz_doit PRIVATE ${PROJECT_SOURCE_DIR})
