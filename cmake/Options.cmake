# Options shared by every target of the project.
add_library(quorvex_options INTERFACE)
target_compile_features(quorvex_options INTERFACE cxx_std_20)
target_compile_options(quorvex_options INTERFACE
  -Wall -Wextra -pedantic -Wnon-virtual-dtor -Wold-style-cast
  $<$<BOOL:${QUORVEX_WERROR}>:-Werror>)
if(WIN32)
  target_compile_definitions(quorvex_options INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN UNICODE)
endif()
