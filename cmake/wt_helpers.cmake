# wt_folder_library(name folder deps...): a static library of every .cpp in a
# folder except main.cpp, so that adding a source file needs no CMake edit.
function(wt_folder_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX ".*/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC wt_flags ${ARGN})
endfunction()
