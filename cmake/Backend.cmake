# The backend the program is built over, OMBREVALE_BACKEND: one folder of backends/ with its own
# Build.cmake, and nothing else names the backends. The toolchain gives the default (emscripten
# the web page, a Windows toolchain the Windows program, any other SDL on Linux);
# -DOMBREVALE_BACKEND=NAME builds over another.

file(GLOB _backend_builds CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/backends
  ${PROJECT_SOURCE_DIR}/backends/*/Build.cmake)
list(TRANSFORM _backend_builds REPLACE "/Build\\.cmake$" "" OUTPUT_VARIABLE OMBREVALE_BACKENDS)
list(SORT OMBREVALE_BACKENDS)

if(EMSCRIPTEN)
  set(_default_backend web)
elseif(WIN32)
  set(_default_backend win32)
else()
  set(_default_backend sdl)
endif()
set(OMBREVALE_BACKEND ${_default_backend} CACHE STRING
  "The backend the program is built over: a folder of backends/ with a Build.cmake")
set_property(CACHE OMBREVALE_BACKEND PROPERTY STRINGS ${OMBREVALE_BACKENDS})

if(NOT OMBREVALE_BACKEND IN_LIST OMBREVALE_BACKENDS)
  list(JOIN OMBREVALE_BACKENDS ", " _known)
  message(FATAL_ERROR "OMBREVALE_BACKEND \"${OMBREVALE_BACKEND}\" names no backend: the backends "
    "are ${_known}, the folders of backends/ with a Build.cmake")
endif()
