app/CMakeFiles/redivev.dir/redivev_autogen/mocs_compilation.cpp.o: \
 /work/main/build/app/redivev_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
