file(REMOVE_RECURSE
  "CMakeFiles/platform_autogen"
  "platform_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/platform_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
