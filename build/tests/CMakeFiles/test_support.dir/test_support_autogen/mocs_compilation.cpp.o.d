tests/CMakeFiles/test_support.dir/test_support_autogen/mocs_compilation.cpp.o: \
 /work/main/build/tests/test_support_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
