file(REMOVE_RECURSE
  "CMakeFiles/redivev_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/redivev_autogen.dir/ParseCache.txt"
  "redivev_autogen"
  "CMakeFiles/redivev.dir/Redivev.cpp.o"
  "CMakeFiles/redivev.dir/Redivev.cpp.o.d"
  "CMakeFiles/redivev.dir/redivev_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/redivev.dir/redivev_autogen/mocs_compilation.cpp.o.d"
  "redivev"
  "redivev.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/redivev.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
