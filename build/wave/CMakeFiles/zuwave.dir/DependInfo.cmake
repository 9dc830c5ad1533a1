
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/wave/ZuConvert.cpp" "wave/CMakeFiles/zuwave.dir/ZuConvert.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuConvert.cpp.o.d"
  "/work/main/wave/ZuErrors.cpp" "wave/CMakeFiles/zuwave.dir/ZuErrors.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuErrors.cpp.o.d"
  "/work/main/wave/ZuInternalWave.cpp" "wave/CMakeFiles/zuwave.dir/ZuInternalWave.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuInternalWave.cpp.o.d"
  "/work/main/wave/ZuPlayback.cpp" "wave/CMakeFiles/zuwave.dir/ZuPlayback.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuPlayback.cpp.o.d"
  "/work/main/wave/ZuWaveComponent.cpp" "wave/CMakeFiles/zuwave.dir/ZuWaveComponent.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuWaveComponent.cpp.o.d"
  "/work/main/wave/ZuWaveFile.cpp" "wave/CMakeFiles/zuwave.dir/ZuWaveFile.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/ZuWaveFile.cpp.o.d"
  "/work/main/build/wave/zuwave_autogen/mocs_compilation.cpp" "wave/CMakeFiles/zuwave.dir/zuwave_autogen/mocs_compilation.cpp.o" "gcc" "wave/CMakeFiles/zuwave.dir/zuwave_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/platform/CMakeFiles/platform.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
