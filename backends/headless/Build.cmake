# The headless backend: a fake clock, scripted chance and events, frames composed in memory. The
# root includes it for every build: the logic's tests, the renderer, the long run, the benchmarks
# and the fuzz programs run on it, and it is compiled only where one of them is built. Chosen as
# the backend (-DOMBREVALE_BACKEND=headless), the build is the logic and its unit tests, with no
# desktop's libraries.

if(NOT TARGET ombrevale_headless)
  file(GLOB OMBREVALE_HEADLESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_library(ombrevale_headless STATIC EXCLUDE_FROM_ALL ${OMBREVALE_HEADLESS_SOURCES})
  target_link_libraries(ombrevale_headless PUBLIC ombrevale_core)
endif()

set(OMBREVALE_BACKEND_HAS_UNIT_TESTS ON)
