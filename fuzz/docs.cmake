jo_add_fuzzer(fuzz_doit SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_doit.cpp LIBS docs_core)
target_include_directories(fuzz_doit PRIVATE ${PROJECT_SOURCE_DIR})
