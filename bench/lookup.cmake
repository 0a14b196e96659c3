jo_add_bench(bench_lookup SOURCES ${CMAKE_CURRENT_LIST_DIR}/lookup_redisplay.cpp
  LIBS lookup_widgets lookup_core Qt6::Widgets)
# The class index and completion: ready time, one query, memory.
jo_add_bench(bench_class_index SOURCES ${CMAKE_CURRENT_LIST_DIR}/class_index.cpp LIBS lookup_core platform_classlib)
# The member index behind `find`: build, reading back from disk, one query, memory.
jo_add_bench(bench_member_index SOURCES ${CMAKE_CURRENT_LIST_DIR}/member_index.cpp LIBS lookup_core platform_classlib)
