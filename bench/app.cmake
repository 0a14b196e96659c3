jo_add_bench(bench_catalogue SOURCES ${CMAKE_CURRENT_LIST_DIR}/catalogue_bench.cpp LIBS javadoc_core catalogue)
jo_add_bench(bench_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp LIBS app_window Qt6::Widgets)
