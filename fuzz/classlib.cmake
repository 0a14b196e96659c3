# The class-file parser and the jimage reader, over in-memory buffers.
jo_add_fuzzer(fuzz_classfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_classfile.cpp LIBS platform_classlib)
jo_add_fuzzer(fuzz_jimage SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_jimage.cpp LIBS platform_classlib)
# The zip reader (jars, source archives), over a file holding the input.
jo_add_fuzzer(fuzz_zip SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_zip.cpp LIBS platform_core)
