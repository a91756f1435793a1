# The build number shown beside the version: given, or the number of commits of the checkout
# being built, or 0 outside a checkout.
if(QUORVEX_BUILD_NUMBER STREQUAL "")
  execute_process(
    COMMAND git rev-list --count HEAD
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE QUORVEX_BUILD_NUMBER_FOUND
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE QUORVEX_GIT_RESULT
    ERROR_QUIET)
  if(QUORVEX_GIT_RESULT EQUAL 0 AND QUORVEX_BUILD_NUMBER_FOUND MATCHES "^[0-9]+$")
    set(QUORVEX_BUILD_NUMBER_USED ${QUORVEX_BUILD_NUMBER_FOUND})
  else()
    set(QUORVEX_BUILD_NUMBER_USED 0)
  endif()
else()
  set(QUORVEX_BUILD_NUMBER_USED ${QUORVEX_BUILD_NUMBER})
endif()
