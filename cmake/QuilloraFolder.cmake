# Each source folder is a static library of the files it holds, linked to the
# folders below it. (Object libraries lost their moc objects when linked into
# another library with the Makefile generator.) Widget code lives in a
# folder's forms/ subfolder and goes into the UI library instead.
function(quillora_core_folder target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
    file(WRITE ${sources} "// nothing here yet\n")
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()

