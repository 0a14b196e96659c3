jo_add_bench(bench_javadoc SOURCES ${CMAKE_CURRENT_LIST_DIR}/javadoc_extract.cpp LIBS javadoc_core Qt6::Core)
jo_add_bench(bench_javadoc_hitrate SOURCES ${CMAKE_CURRENT_LIST_DIR}/javadoc_hitrate.cpp
  LIBS javadoc_core javadoc_source lookup_core Qt6::Core)
jo_add_bench(bench_javadoc_source_oracle SOURCES ${CMAKE_CURRENT_LIST_DIR}/javadoc_source_oracle.cpp
  LIBS javadoc_core javadoc_source lookup_core Qt6::Core)
jo_add_bench(bench_javadoc_source SOURCES ${CMAKE_CURRENT_LIST_DIR}/javadoc_source.cpp
  LIBS javadoc_source platform_classlib Qt6::Core)
add_dependencies(bench_javadoc_source javaorvel-cli)

# Documentation roots for 190 installed jars: under 20 ms. A member from a javadoc jar:
# within 2x of a folder, the first of a new jar under 20 ms.
jo_add_bench(bench_roots SOURCES ${CMAKE_CURRENT_LIST_DIR}/roots_bench.cpp
  LIBS javadoc_source platform_classlib platform_core ZLIB::ZLIB)

# The class files' sections on one selection (List.of from the JDK's page): warm, under 1 ms more.
jo_add_bench(bench_doc_sections SOURCES ${CMAKE_CURRENT_LIST_DIR}/doc_sections.cpp
  LIBS javadoc_core javadoc_source platform_classlib Qt6::Core)
