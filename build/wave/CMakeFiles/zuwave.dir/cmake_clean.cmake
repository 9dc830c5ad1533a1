file(REMOVE_RECURSE
  "CMakeFiles/zuwave_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/zuwave_autogen.dir/ParseCache.txt"
  "zuwave_autogen"
  "CMakeFiles/zuwave.dir/ZuConvert.cpp.o"
  "CMakeFiles/zuwave.dir/ZuConvert.cpp.o.d"
  "CMakeFiles/zuwave.dir/ZuErrors.cpp.o"
  "CMakeFiles/zuwave.dir/ZuErrors.cpp.o.d"
  "CMakeFiles/zuwave.dir/ZuInternalWave.cpp.o"
  "CMakeFiles/zuwave.dir/ZuInternalWave.cpp.o.d"
  "CMakeFiles/zuwave.dir/ZuPlayback.cpp.o"
  "CMakeFiles/zuwave.dir/ZuPlayback.cpp.o.d"
  "CMakeFiles/zuwave.dir/ZuWaveComponent.cpp.o"
  "CMakeFiles/zuwave.dir/ZuWaveComponent.cpp.o.d"
  "CMakeFiles/zuwave.dir/ZuWaveFile.cpp.o"
  "CMakeFiles/zuwave.dir/ZuWaveFile.cpp.o.d"
  "CMakeFiles/zuwave.dir/zuwave_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/zuwave.dir/zuwave_autogen/mocs_compilation.cpp.o.d"
  "libzuwave.a"
  "libzuwave.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zuwave.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
