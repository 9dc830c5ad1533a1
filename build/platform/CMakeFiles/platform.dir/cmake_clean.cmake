file(REMOVE_RECURSE
  "CMakeFiles/platform_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/platform_autogen.dir/ParseCache.txt"
  "platform_autogen"
  "CMakeFiles/platform.dir/Heap.cpp.o"
  "CMakeFiles/platform.dir/Heap.cpp.o.d"
  "CMakeFiles/platform.dir/MemoryRiff.cpp.o"
  "CMakeFiles/platform.dir/MemoryRiff.cpp.o.d"
  "CMakeFiles/platform.dir/Streams.cpp.o"
  "CMakeFiles/platform.dir/Streams.cpp.o.d"
  "CMakeFiles/platform.dir/platform_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/platform.dir/platform_autogen/mocs_compilation.cpp.o.d"
  "libplatform.a"
  "libplatform.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/platform.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
