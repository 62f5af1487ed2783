# The web page: the logic over the page's backend, compiled to WebAssembly by emscripten, and the
# static site around it, assembled in ${CMAKE_BINARY_DIR}/site: index.html, its style and
# scripts, ombrevale.js and ombrevale.wasm, and the pictures in dat/. Any static host can serve it
# as it is.

set(OMBREVALE_SITE_DIR ${CMAKE_BINARY_DIR}/site)

# The page catches the one error the program can fail with and says it on the page. The blits'
# rows vectorise with WebAssembly's SIMD, and large copies stay inside it (bulk memory): every
# browser that runs WebAssembly today has both.
set(OMBREVALE_WEB_COMPILE_OPTIONS -fexceptions -msimd128 -mbulk-memory)
target_compile_options(ombrevale_core PRIVATE ${OMBREVALE_WEB_COMPILE_OPTIONS})

file(GLOB OMBREVALE_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(ombrevale_page app/StartWeb.cpp ${OMBREVALE_WEB_SOURCES})
target_compile_options(ombrevale_page PRIVATE ${OMBREVALE_WEB_COMPILE_OPTIONS})
target_link_libraries(ombrevale_page PRIVATE ombrevale_core)
target_link_options(ombrevale_page PRIVATE
  -fexceptions
  # The version box waits for the visitor inside a pass of the loop, as a modal box does.
  -sASYNCIFY
  -sASYNCIFY_STACK_SIZE=16384
  # The page starts the program once the pictures are fetched and decoded.
  -sINVOKE_RUN=0
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=ccall,callMain,UTF8ToString,stringToUTF8,lengthBytesUTF8
  -sTEXTDECODER=2
  --closure=0)
set_target_properties(ombrevale_page PROPERTIES
  OUTPUT_NAME ombrevale
  SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${OMBREVALE_SITE_DIR})

# The pictures the page fetches before the window loads: those of dat/, by name.
file(GLOB OMBREVALE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dat/*.bmp)
set(_names "")
foreach(_picture ${OMBREVALE_PICTURES})
  get_filename_component(_name ${_picture} NAME)
  list(APPEND _names "\"dat/${_name}\"")
endforeach()
list(JOIN _names ", " _names)
file(CONFIGURE OUTPUT ${OMBREVALE_SITE_DIR}/pictures.js
  CONTENT "// The pictures of dat/, fetched beside the page before the window loads.\nconst OMBREVALE_PICTURES = [@_names@];\n"
  @ONLY)

file(GLOB OMBREVALE_SITE_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/site/*)
set(_copied "")
foreach(_file ${OMBREVALE_SITE_FILES} ${OMBREVALE_PICTURES})
  get_filename_component(_name ${_file} NAME)
  if(_file IN_LIST OMBREVALE_PICTURES)
    set(_out ${OMBREVALE_SITE_DIR}/dat/${_name})
  else()
    set(_out ${OMBREVALE_SITE_DIR}/${_name})
  endif()
  add_custom_command(OUTPUT ${_out} COMMAND ${CMAKE_COMMAND} -E copy ${_file} ${_out}
    DEPENDS ${_file} VERBATIM)
  list(APPEND _copied ${_out})
endforeach()
# The launcher's icon is the page's.
set(_icon ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor/32x32/apps/org.ombrevale.Ombrevale.png)
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${_icon} ${OMBREVALE_SITE_DIR}/icon.png DEPENDS ${_icon} VERBATIM)
list(APPEND _copied ${OMBREVALE_SITE_DIR}/icon.png)
add_custom_target(ombrevale_site ALL DEPENDS ${_copied})
add_dependencies(ombrevale_page ombrevale_site)
include(${CMAKE_CURRENT_LIST_DIR}/Music.cmake)
