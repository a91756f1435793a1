# The source folders are layers, each a static library that links only the layers below it:
#   app -> agent -> ui -> execution -> jobs -> support -> platform -> error
# quorvex_layer(NAME [BELOW layers...]) declares one. Beside it, a check program links every
# object of the layer with the layers below it and nothing else, so code that calls up a layer
# fails the build at once, even where a full program would pull the callee in from elsewhere.
function(quorvex_layer name)
  cmake_parse_arguments(ARG "" "" "BELOW" ${ARGN})
  add_library(${name} STATIC)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC quorvex_options ${ARG_BELOW})

  add_executable(${name}_link_check ${PROJECT_SOURCE_DIR}/cmake/layer_link_check.cpp)
  target_link_libraries(${name}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>")
  set_target_properties(${name}_link_check PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/layer_checks)
endfunction()
