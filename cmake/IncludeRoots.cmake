# Each library is seen by the targets that link it through a folder of its
# own in the build tree, which holds that library's headers and nothing
# else: an include of a layer above, or of the wave library's internals,
# finds no file and does not compile. The sources stay where they are, and
# every include keeps naming its folder ("engine/TrimDetection.h").

# The whole folder, through a link named as the folder.
function(redivev_include_root Target Scope Folder)
  set(Root ${PROJECT_BINARY_DIR}/include/${Folder})
  file(MAKE_DIRECTORY ${Root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${Folder} ${Root}/${Folder} SYMBOLIC)
  target_include_directories(${Target} ${Scope} $<BUILD_INTERFACE:${Root}>)
endfunction()

# The named headers only. Each is a header that includes the real one by its
# full path, so that an internal header the real one reaches by its own name
# (a sibling) is found beside it, and by no one else.
function(redivev_public_headers Target Folder)
  set(Root ${PROJECT_BINARY_DIR}/include/public-${Folder})
  file(GLOB Stale ${Root}/${Folder}/*.h)
  foreach(Header IN LISTS ARGN)
    list(REMOVE_ITEM Stale ${Root}/${Folder}/${Header})
    file(CONFIGURE OUTPUT ${Root}/${Folder}/${Header}
         CONTENT "#pragma once\n#include \"${PROJECT_SOURCE_DIR}/${Folder}/${Header}\"\n")
  endforeach()
  if(Stale)
    file(REMOVE ${Stale})
  endif()
  target_include_directories(${Target} PUBLIC $<BUILD_INTERFACE:${Root}>)
endfunction()
