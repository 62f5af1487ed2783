# The web page: the logic over the page's backend, compiled to WebAssembly by emscripten, and the
# static site around it, assembled in ${CMAKE_BINARY_DIR}/site: index.html, its style and
# scripts, ombrevale.js and ombrevale.wasm, the pictures of dat/ in one file, the facts the page
# shares with the program, the web app's manifest and icons, and the service worker that keeps the
# site for offline visits. Any static host can serve it as it is.

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
  # The program runs in a worker of the page, or on the page itself where a browser cannot draw
  # from a worker (program.js).
  -sENVIRONMENT=web,worker
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=ccall,callMain,UTF8ToString,stringToUTF8,lengthBytesUTF8
  -sTEXTDECODER=2
  --closure=0)
# Its runtime goes into program.js (below), its WebAssembly into the site.
set_target_properties(ombrevale_page PROPERTIES
  OUTPUT_NAME ombrevale
  SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/program)

# What the page knows of the program (its colours, sizes, statuses and version, and the names the
# two say to each other) is read from the program's C++ by a small program built with the machine's
# own compiler (emscripten brings clang), and run here: facts.css and facts.js.
find_program(OMBREVALE_HOST_CXX NAMES c++ g++ clang++ clang++-14 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(_facts_tool ${CMAKE_BINARY_DIR}/host/ombrevale-page-facts)
add_custom_command(OUTPUT ${_facts_tool}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${OMBREVALE_HOST_CXX} -std=c++20 -Wall -Wextra -Wpedantic -I${PROJECT_SOURCE_DIR}
    -I${CMAKE_BINARY_DIR}/generated -MD -MF ${_facts_tool}.d
    ${PROJECT_SOURCE_DIR}/tools/ombrevale-page-facts.cpp -o ${_facts_tool}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/ombrevale-page-facts.cpp
  DEPFILE ${_facts_tool}.d
  VERBATIM)
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/facts.css ${OMBREVALE_SITE_DIR}/facts.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${OMBREVALE_SITE_DIR}
  COMMAND ${_facts_tool} ${OMBREVALE_SITE_DIR}
  DEPENDS ${_facts_tool} VERBATIM)
set(_site_files facts.css facts.js)

# The pictures of dat/ in one file, a tar archive in the order of their names, fetched in one
# request while the program itself arrives: each written by a small program of the machine's own
# compiler with its black left out (a quarter of the bytes to read), the archive gzip-compressed by
# the build, as a static host may send a tar archive as it is, and inflated by the program as it
# reads it; as it is for a browser that cannot inflate a stream, which fetches it instead (it is
# kept for offline visits once fetched).
file(GLOB OMBREVALE_PICTURES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/dat/*.bmp)
list(SORT OMBREVALE_PICTURES)
list(TRANSFORM OMBREVALE_PICTURES PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE _picture_files)
set(_pack_tool ${CMAKE_BINARY_DIR}/host/ombrevale-pack-pictures)
# It reads and writes the pictures with the program's own bitmap library, compiled from the lists
# the logic is built from: the contracts' sources, the bitmap library's and the files library's,
# by which the bitmap library reads.
set(_pack_sources ${PROJECT_SOURCE_DIR}/tools/ombrevale-pack-pictures.cpp
  ${OMBREVALE_PLATFORM_SOURCES} ${OMBREVALE_PLATFORM_BITMAP_SOURCES}
  ${OMBREVALE_PLATFORM_FILES_SOURCES})
file(GLOB _pack_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.h
  ${PROJECT_SOURCE_DIR}/platform/bitmap/*.h ${PROJECT_SOURCE_DIR}/platform/files/*.h)
add_custom_command(OUTPUT ${_pack_tool}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${OMBREVALE_HOST_CXX} -std=c++20 -O2 -pthread -Wall -Wextra -Wpedantic
    -I${PROJECT_SOURCE_DIR} ${_pack_sources} -o ${_pack_tool}
  DEPENDS ${_pack_sources} ${_pack_headers}
  VERBATIM)
set(_packed ${CMAKE_BINARY_DIR}/packed)
find_program(OMBREVALE_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/pictures.tar ${OMBREVALE_SITE_DIR}/pictures.tar.gz
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_packed}
  COMMAND ${_pack_tool} ${_packed} ${OMBREVALE_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_packed} ${CMAKE_COMMAND} -E tar cf
    ${OMBREVALE_SITE_DIR}/pictures.tar --format=gnutar --mtime=2002-05-28 ${OMBREVALE_PICTURES}
  # -n: no name or time in the header, so the same pictures give the same bytes.
  COMMAND sh -c "'${OMBREVALE_GZIP}' -9 -n -c '${OMBREVALE_SITE_DIR}/pictures.tar' > '${OMBREVALE_SITE_DIR}/pictures.tar.gz'"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DEPENDS ${_pack_tool} ${_picture_files} VERBATIM)
list(APPEND _site_files pictures.tar.gz)
set(_uncached_files ${OMBREVALE_SITE_DIR}/pictures.tar)

# The program's side of the page as one script, program.js, so that it arrives in one request:
# the facts, the picture loader, the loop and the program's runtime.
set(_program_parts ${OMBREVALE_SITE_DIR}/facts.js ${CMAKE_CURRENT_LIST_DIR}/program/loader.js
  ${CMAKE_CURRENT_LIST_DIR}/program/program.js $<TARGET_FILE:ombrevale_page>)
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/program.js
  COMMAND ${CMAKE_COMMAND} -DOUT=${OMBREVALE_SITE_DIR}/program.js "-DPARTS=${_program_parts}"
    -P ${CMAKE_CURRENT_LIST_DIR}/Concatenate.cmake
  DEPENDS ${_program_parts} ${CMAKE_CURRENT_LIST_DIR}/Concatenate.cmake VERBATIM)
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/ombrevale.wasm
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_DIR:ombrevale_page>/ombrevale.wasm
    ${OMBREVALE_SITE_DIR}/ombrevale.wasm
  DEPENDS ombrevale_page VERBATIM)
add_custom_target(ombrevale_program ALL
  DEPENDS ${OMBREVALE_SITE_DIR}/program.js ${OMBREVALE_SITE_DIR}/ombrevale.wasm)

# The page's own files, as they are; the templates among them are filled in below.
file(GLOB OMBREVALE_SITE_SOURCES LIST_DIRECTORIES false CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/site/*)
list(FILTER OMBREVALE_SITE_SOURCES EXCLUDE REGEX "\\.in$|/index\\.html$")
foreach(_file ${OMBREVALE_SITE_SOURCES})
  get_filename_component(_name ${_file} NAME)
  add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/${_name}
    COMMAND ${CMAKE_COMMAND} -E copy ${_file} ${OMBREVALE_SITE_DIR}/${_name}
    DEPENDS ${_file} VERBATIM)
  list(APPEND _site_files ${_name})
endforeach()
# The page itself, the facts written into it (InlineFacts.cmake).
add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -DPAGE=${CMAKE_CURRENT_LIST_DIR}/site/index.html
    -DFACTS=${OMBREVALE_SITE_DIR}/facts.js -DOUT=${OMBREVALE_SITE_DIR}/index.html
    -P ${CMAKE_CURRENT_LIST_DIR}/InlineFacts.cmake
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/site/index.html ${OMBREVALE_SITE_DIR}/facts.js
    ${CMAKE_CURRENT_LIST_DIR}/InlineFacts.cmake VERBATIM)
list(APPEND _site_files index.html)

# The launcher's icons are the web app's, in every size the desktop has; the 32-pixel one is also
# the page's own.
file(GLOB _icon_folders RELATIVE ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor
  ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor/*)
list(SORT _icon_folders COMPARE NATURAL)
set(_manifest_icons "")
foreach(_size ${_icon_folders})
  set(_icon ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor/${_size}/apps/org.ombrevale.Ombrevale.png)
  if(NOT EXISTS ${_icon})
    continue()
  endif()
  add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/icons/${_size}.png
    COMMAND ${CMAKE_COMMAND} -E copy ${_icon} ${OMBREVALE_SITE_DIR}/icons/${_size}.png
    DEPENDS ${_icon} VERBATIM)
  list(APPEND _site_files icons/${_size}.png)
  list(APPEND _manifest_icons
    "    { \"src\": \"icons/${_size}.png\", \"sizes\": \"${_size}\", \"type\": \"image/png\" }")
endforeach()
list(JOIN _manifest_icons ",\n" OMBREVALE_MANIFEST_ICONS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/site/manifest.webmanifest.in
  ${OMBREVALE_SITE_DIR}/manifest.webmanifest @ONLY)
list(APPEND _site_files manifest.webmanifest)

# The service worker keeps the whole site under the product's version: every file above, and the
# program.
set(_cached ./ ${_site_files} program.js ombrevale.wasm)
list(TRANSFORM _cached PREPEND "'")
list(TRANSFORM _cached APPEND "'")
list(JOIN _cached ", " OMBREVALE_CACHED_FILES)
set(OMBREVALE_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/site/sw.js.in ${OMBREVALE_SITE_DIR}/sw.js @ONLY)

list(TRANSFORM _site_files PREPEND ${OMBREVALE_SITE_DIR}/)
add_custom_target(ombrevale_site ALL DEPENDS ${_site_files} ${_uncached_files})
add_dependencies(ombrevale_page ombrevale_site)

# The product's name and version, for scripts/package-web.
file(WRITE ${CMAKE_BINARY_DIR}/product.env
  "PRODUCT=${OMBREVALE_PRODUCT_NAME}\nVERSION=${PROJECT_VERSION}\n")
include(${CMAKE_CURRENT_LIST_DIR}/Music.cmake)
