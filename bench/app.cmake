find_package(Qt6 REQUIRED COMPONENTS Test)
jo_add_bench(bench_catalogue SOURCES ${CMAKE_CURRENT_LIST_DIR}/catalogue_bench.cpp LIBS javadoc_core catalogue)
jo_add_bench(bench_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp LIBS app_window Qt6::Widgets)
# The waits a user can see: SEARCH at start-up before the class index is
# ready, and typing over a CLASSPATH of 200,000 package-private classes.
jo_add_bench(bench_search_at_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/search_at_startup.cpp
  LIBS app_window Qt6::Widgets)
jo_add_bench(bench_completion_stall SOURCES ${CMAKE_CURRENT_LIST_DIR}/completion_stall.cpp
  LIBS app_window Qt6::Widgets Qt6::Test ZLIB::ZLIB)
