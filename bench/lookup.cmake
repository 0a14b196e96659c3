jo_add_bench(bench_lookup SOURCES ${CMAKE_CURRENT_LIST_DIR}/lookup_redisplay.cpp
  LIBS lookup_widgets lookup_core Qt6::Widgets)
