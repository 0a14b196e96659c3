# The class-library reader: cold and warm lookups of javax.swing.JTable.
jo_add_bench(bench_classlib SOURCES ${CMAKE_CURRENT_LIST_DIR}/classlib_lookup.cpp LIBS platform_classlib)
# --release: since-versions of java.util.List and a release-8 lookup, from a fresh library.
jo_add_bench(bench_release SOURCES ${CMAKE_CURRENT_LIST_DIR}/release_since.cpp LIBS platform_classlib)
