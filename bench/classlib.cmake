# The class-library reader: cold and warm lookups of javax.swing.JTable.
jo_add_bench(bench_classlib SOURCES ${CMAKE_CURRENT_LIST_DIR}/classlib_lookup.cpp LIBS platform_classlib)
