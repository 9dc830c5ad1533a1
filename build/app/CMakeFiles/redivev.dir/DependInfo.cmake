
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/app/Redivev.cpp" "app/CMakeFiles/redivev.dir/Redivev.cpp.o" "gcc" "app/CMakeFiles/redivev.dir/Redivev.cpp.o.d"
  "/work/main/build/app/redivev_autogen/mocs_compilation.cpp" "app/CMakeFiles/redivev.dir/redivev_autogen/mocs_compilation.cpp.o" "gcc" "app/CMakeFiles/redivev.dir/redivev_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/wave/CMakeFiles/zuwave.dir/DependInfo.cmake"
  "/work/main/build/app/CMakeFiles/redivev_app.dir/DependInfo.cmake"
  "/work/main/build/platform/CMakeFiles/platform.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
