# Ombrevale on Windows, cross-built with mingw-w64: the logic over the Win32 backend, one .exe
# with its runtime linked in, its icon, version and manifest as resources; and the unit tests of
# the logic with GoogleTest built from Debian's sources, run under Wine.

enable_language(RC)
# The system's headers as of Windows 10, which the backend is written for.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE)
# The C and C++ runtimes and the threads library inside the program: nothing to ship beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB OMBREVALE_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/*.cpp)
add_library(ombrevale_win32 STATIC ${OMBREVALE_WIN32_SOURCES})
target_link_libraries(ombrevale_win32 PUBLIC ombrevale_core winmm gdi32 user32 shell32)

# The version resource reads the version from project(), as every other place does.
set(OMBREVALE_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
set(OMBREVALE_ICO "${PROJECT_SOURCE_DIR}/packaging/windows/ombrevale.ico")
set(OMBREVALE_MANIFEST "${PROJECT_SOURCE_DIR}/packaging/windows/ombrevale.manifest")
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/ombrevale.rc.in
  ${CMAKE_BINARY_DIR}/generated/ombrevale.rc @ONLY)

add_executable(ombrevale WIN32 ${PROJECT_SOURCE_DIR}/app/StartWindows.cpp
  ${CMAKE_BINARY_DIR}/generated/ombrevale.rc)
target_link_libraries(ombrevale PRIVATE ombrevale_win32)
set_target_properties(ombrevale PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/ombrevale.rc PROPERTIES
  OBJECT_DEPENDS "${OMBREVALE_ICO};${OMBREVALE_MANIFEST}")

# What scripts/package-windows puts beside the program: the short readme, and the name and
# version the installer and the zip are named with.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
  ${CMAKE_BINARY_DIR}/package/README.txt @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/package/copyright
  @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/package/product.env
  "PRODUCT=${OMBREVALE_PRODUCT_NAME}\nVERSION=${PROJECT_VERSION}\n")

include(CTest)
if(NOT BUILD_TESTING)
  return()
endif()

# GoogleTest from Debian's sources, built with the cross compiler.
set(OMBREVALE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${OMBREVALE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The headless backend, which the logic's tests run on.
file(GLOB OMBREVALE_HEADLESS_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/headless/*.cpp)
add_library(ombrevale_headless STATIC ${OMBREVALE_HEADLESS_SOURCES})
target_link_libraries(ombrevale_headless PUBLIC ombrevale_core)

# The logic's unit tests, as on Linux, and the Win32 backend's own.
file(GLOB_RECURSE OMBREVALE_UNIT_TESTS CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/tests/platform/*.cpp ${PROJECT_SOURCE_DIR}/tests/timing/*.cpp
  ${PROJECT_SOURCE_DIR}/tests/app/*.cpp ${PROJECT_SOURCE_DIR}/tests/text/*.cpp
  ${PROJECT_SOURCE_DIR}/tests/sound/*.cpp ${PROJECT_SOURCE_DIR}/tests/vision/*.cpp)
add_executable(ombrevale_tests ${OMBREVALE_UNIT_TESTS})
target_link_libraries(ombrevale_tests PRIVATE ombrevale_headless gtest_main gmock)
target_include_directories(ombrevale_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)

file(GLOB OMBREVALE_WIN32_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(ombrevale_win32_tests ${OMBREVALE_WIN32_TESTS})
target_link_libraries(ombrevale_win32_tests PRIVATE ombrevale_win32 ombrevale_headless gtest_main
  gmock)
target_include_directories(ombrevale_win32_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(ombrevale_win32_tests PRIVATE
  OMBREVALE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# A helper of the tests that drive the program under Wine: prints the text of a box.
add_executable(ombrevale_box_text ${PROJECT_SOURCE_DIR}/tests/win32/tools/box_text.cpp)
target_link_options(ombrevale_box_text PRIVATE -municode)
