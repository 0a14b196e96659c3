# Stripping, sorting and grouping over arbitrary signature texts.
jo_add_fuzzer(fuzz_member_tree SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_member_tree.cpp LIBS lookup_core)
# The class index and its queries over an arbitrary jimage.
jo_add_fuzzer(fuzz_class_index SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_class_index.cpp LIBS lookup_core platform_classlib)
