jo_add_bench(bench_docs SOURCES ${CMAKE_CURRENT_LIST_DIR}/docs_extract.cpp LIBS docs_core Qt6::Core)
target_include_directories(bench_docs PRIVATE ${PROJECT_SOURCE_DIR})
