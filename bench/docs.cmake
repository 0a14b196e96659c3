jo_add_bench(bench_docs SOURCES ${CMAKE_CURRENT_LIST_DIR}/docs_extract.cpp LIBS docs_core Qt6::Core)
target_include_directories(bench_docs PRIVATE ${PROJECT_SOURCE_DIR})
jo_add_bench(bench_docs_hitrate SOURCES ${CMAKE_CURRENT_LIST_DIR}/docs_hitrate.cpp
  LIBS docs_core lookup_core Qt6::Core)
target_include_directories(bench_docs_hitrate PRIVATE ${PROJECT_SOURCE_DIR})
