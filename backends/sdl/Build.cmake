# Ombrevale on Linux: the logic over the SDL2 backend (window, events, fonts, pictures and sound),
# and the program that answers its command line and loads that half only to run. Its tests are in
# tests/backends/sdl; the tools (tools/), the benchmarks (bench/) and what installs beside the
# program (packaging/) are built over it from the root.

find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_ttf CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
# The desktop portal's settings, on a Wayland desktop; and whether an accessibility bus runs.
pkg_check_modules(DBUS REQUIRED IMPORTED_TARGET dbus-1)
find_package(X11 REQUIRED)
# Frames written as PNG files (the renderer's, a replay's frame that differs); libpng is loaded
# with the fonts anyway.
find_package(PNG REQUIRED)

file(GLOB_RECURSE OMBREVALE_SDL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
# The screen readers' bridge is a module of its own (below).
list(FILTER OMBREVALE_SDL_SOURCES EXCLUDE REGEX "/access/atk/")
add_library(ombrevale_sdl STATIC ${OMBREVALE_SDL_SOURCES})
target_link_libraries(ombrevale_sdl PUBLIC ombrevale_core SDL2::SDL2 SDL2_ttf::SDL2_ttf
  PkgConfig::FONTCONFIG PkgConfig::DBUS X11::X11 X11::Xext PNG::PNG)
# The mixer (and the synthesiser, GLib and sound servers behind it) is loaded when the first piece
# or wave needs it, not linked: only its header is used here.
target_include_directories(ombrevale_sdl PUBLIC
  $<TARGET_PROPERTY:SDL2_mixer::SDL2_mixer,INTERFACE_INCLUDE_DIRECTORIES>)

# The program answers its command line with the C and C++ libraries alone, and loads its SDL half
# (SDL, X11, the fonts) only to run: --help and --version start in a blink.
set_target_properties(ombrevale_core ombrevale_sdl PROPERTIES POSITION_INDEPENDENT_CODE ON)
add_library(ombrevale_sdl_half MODULE ${PROJECT_SOURCE_DIR}/app/StartSdl.cpp)
target_link_libraries(ombrevale_sdl_half PRIVATE ombrevale_sdl)
set_target_properties(ombrevale_sdl_half PROPERTIES PREFIX "" OUTPUT_NAME ombrevale-sdl
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The leak checker's suppressions go into the launcher too: it reads them as the program starts,
# before the SDL half is loaded.
add_executable(ombrevale ${PROJECT_SOURCE_DIR}/app/Start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LeakSuppressions.cpp)
target_link_libraries(ombrevale PRIVATE ombrevale_core ${CMAKE_DL_LIBS})
add_dependencies(ombrevale ombrevale_sdl_half)
set_target_properties(ombrevale PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The screen readers' bridge: the window's parts as the accessibility toolkit's objects (ATK),
# published on the desktop's accessibility bus (AT-SPI) by the toolkit's bridge, in a module the
# SDL half loads only where such a bus may run: the program runs without it, and without the
# libraries behind it (GLib, ATK, AT-SPI), which cost nothing where no screen reader listens.
pkg_check_modules(ATK_BRIDGE IMPORTED_TARGET atk-bridge-2.0 atk)
if(ATK_BRIDGE_FOUND)
  file(GLOB OMBREVALE_ACCESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/access/atk/*.cpp)
  list(FILTER OMBREVALE_ACCESS_SOURCES EXCLUDE REGEX "/AccessModule\\.cpp$")
  add_library(ombrevale_access_objects STATIC ${OMBREVALE_ACCESS_SOURCES})
  target_link_libraries(ombrevale_access_objects PUBLIC ombrevale_core PkgConfig::ATK_BRIDGE)
  add_library(ombrevale_access_module MODULE ${CMAKE_CURRENT_LIST_DIR}/access/atk/AccessModule.cpp)
  target_link_libraries(ombrevale_access_module PRIVATE ombrevale_access_objects)
  set_target_properties(ombrevale_access_objects ombrevale_access_module PROPERTIES
    POSITION_INDEPENDENT_CODE ON CXX_VISIBILITY_PRESET hidden)
  set_target_properties(ombrevale_access_module PROPERTIES PREFIX "" OUTPUT_NAME ombrevale-access
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(ombrevale ombrevale_access_module)
else()
  message(STATUS "ATK's bridge to AT-SPI not found: the window is built without the screen "
                 "readers' bridge")
endif()

# The logic's unit tests and the backend's own; and the speed of the whole program, measured.
set(OMBREVALE_BACKEND_HAS_UNIT_TESTS ON)
set(OMBREVALE_BACKEND_HAS_BENCHMARKS ON)
