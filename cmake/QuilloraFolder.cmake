# Each source folder is an object library of the files it holds. Widget code
# lives in a folder's forms/ subfolder and goes into the UI library instead.
function(quillora_core_folder target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
    file(WRITE ${sources} "// nothing here yet\n")
  endif()
  add_library(${target} OBJECT ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()

