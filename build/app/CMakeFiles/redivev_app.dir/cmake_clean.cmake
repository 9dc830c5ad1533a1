file(REMOVE_RECURSE
  "CMakeFiles/redivev_app_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/redivev_app_autogen.dir/ParseCache.txt"
  "redivev_app_autogen"
  "CMakeFiles/redivev_app.dir/Detection.cpp.o"
  "CMakeFiles/redivev_app.dir/Detection.cpp.o.d"
  "CMakeFiles/redivev_app.dir/Export.cpp.o"
  "CMakeFiles/redivev_app.dir/Export.cpp.o.d"
  "CMakeFiles/redivev_app.dir/Normalise.cpp.o"
  "CMakeFiles/redivev_app.dir/Normalise.cpp.o.d"
  "CMakeFiles/redivev_app.dir/redivev_app_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/redivev_app.dir/redivev_app_autogen/mocs_compilation.cpp.o.d"
  "libredivev_app.a"
  "libredivev_app.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/redivev_app.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
