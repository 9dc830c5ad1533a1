file(REMOVE_RECURSE
  "CMakeFiles/redivev_app_autogen"
  "redivev_app_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/redivev_app_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
