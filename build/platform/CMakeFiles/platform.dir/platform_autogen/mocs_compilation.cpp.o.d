platform/CMakeFiles/platform.dir/platform_autogen/mocs_compilation.cpp.o: \
 /work/main/build/platform/platform_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
