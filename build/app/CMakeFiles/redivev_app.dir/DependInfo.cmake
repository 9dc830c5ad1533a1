
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/app/Detection.cpp" "app/CMakeFiles/redivev_app.dir/Detection.cpp.o" "gcc" "app/CMakeFiles/redivev_app.dir/Detection.cpp.o.d"
  "/work/main/app/Export.cpp" "app/CMakeFiles/redivev_app.dir/Export.cpp.o" "gcc" "app/CMakeFiles/redivev_app.dir/Export.cpp.o.d"
  "/work/main/app/Normalise.cpp" "app/CMakeFiles/redivev_app.dir/Normalise.cpp.o" "gcc" "app/CMakeFiles/redivev_app.dir/Normalise.cpp.o.d"
  "/work/main/build/app/redivev_app_autogen/mocs_compilation.cpp" "app/CMakeFiles/redivev_app.dir/redivev_app_autogen/mocs_compilation.cpp.o" "gcc" "app/CMakeFiles/redivev_app.dir/redivev_app_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/wave/CMakeFiles/zuwave.dir/DependInfo.cmake"
  "/work/main/build/platform/CMakeFiles/platform.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
