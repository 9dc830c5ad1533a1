
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/platform/Heap.cpp" "platform/CMakeFiles/platform.dir/Heap.cpp.o" "gcc" "platform/CMakeFiles/platform.dir/Heap.cpp.o.d"
  "/work/main/platform/MemoryRiff.cpp" "platform/CMakeFiles/platform.dir/MemoryRiff.cpp.o" "gcc" "platform/CMakeFiles/platform.dir/MemoryRiff.cpp.o.d"
  "/work/main/platform/Streams.cpp" "platform/CMakeFiles/platform.dir/Streams.cpp.o" "gcc" "platform/CMakeFiles/platform.dir/Streams.cpp.o.d"
  "/work/main/build/platform/platform_autogen/mocs_compilation.cpp" "platform/CMakeFiles/platform.dir/platform_autogen/mocs_compilation.cpp.o" "gcc" "platform/CMakeFiles/platform.dir/platform_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
