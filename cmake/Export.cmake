# The engine as a library for other projects: installed with the headers it
# reads, and found by find_package(Redivev) as Redivev::engine.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(REDIVEV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Redivev)
set(REDIVEV_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/redivev)

set_target_properties(platform PROPERTIES EXPORT_NAME platform)
set_target_properties(zuwave PROPERTIES EXPORT_NAME wave)
set_target_properties(redivev_engine PROPERTIES EXPORT_NAME engine)
foreach(Library platform zuwave redivev_engine)
  target_include_directories(${Library} INTERFACE $<INSTALL_INTERFACE:${REDIVEV_INCLUDE_DIR}>)
endforeach()
install(TARGETS platform zuwave redivev_engine EXPORT RedivevTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Each library's headers in a folder of its name, as the sources include them.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/ DESTINATION ${REDIVEV_INCLUDE_DIR}/platform
        FILES_MATCHING PATTERN "*.h" PATTERN audio EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/engine/ DESTINATION ${REDIVEV_INCLUDE_DIR}/engine
        FILES_MATCHING PATTERN "*.h")
# The wave library's public headers, with the internal ones they read.
get_directory_property(WavePublic DIRECTORY ${PROJECT_SOURCE_DIR}/wave DEFINITION ZUWAVE_PUBLIC_HEADERS)
get_directory_property(WaveReached DIRECTORY ${PROJECT_SOURCE_DIR}/wave DEFINITION ZUWAVE_REACHED_HEADERS)
list(TRANSFORM WavePublic PREPEND ${PROJECT_SOURCE_DIR}/wave/)
list(TRANSFORM WaveReached PREPEND ${PROJECT_SOURCE_DIR}/wave/)
install(FILES ${WavePublic} ${WaveReached} DESTINATION ${REDIVEV_INCLUDE_DIR}/wave)

install(EXPORT RedivevTargets NAMESPACE Redivev:: DESTINATION ${REDIVEV_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/RedivevConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/RedivevConfig.cmake INSTALL_DESTINATION ${REDIVEV_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/RedivevConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/RedivevConfig.cmake ${PROJECT_BINARY_DIR}/RedivevConfigVersion.cmake
        DESTINATION ${REDIVEV_CMAKE_DIR})
