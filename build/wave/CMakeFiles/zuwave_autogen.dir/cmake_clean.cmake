file(REMOVE_RECURSE
  "CMakeFiles/zuwave_autogen"
  "zuwave_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/zuwave_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
