file(REMOVE_RECURSE
  "CMakeFiles/redivev_autogen"
  "redivev_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/redivev_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
