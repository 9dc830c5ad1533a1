file(REMOVE_RECURSE
  "CMakeFiles/test_support_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/test_support_autogen.dir/ParseCache.txt"
  "test_support_autogen"
  "CMakeFiles/test_support.dir/support/TestMain.cpp.o"
  "CMakeFiles/test_support.dir/support/TestMain.cpp.o.d"
  "CMakeFiles/test_support.dir/support/WavBuilder.cpp.o"
  "CMakeFiles/test_support.dir/support/WavBuilder.cpp.o.d"
  "CMakeFiles/test_support.dir/test_support_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/test_support.dir/test_support_autogen/mocs_compilation.cpp.o.d"
  "libtest_support.a"
  "libtest_support.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/test_support.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
