# Ombrevale on Windows, cross-built with mingw-w64: the logic over the Win32 backend, one .exe
# with its runtime linked in, its icon, version and manifest as resources, and what the zip and the
# installer put beside it. Its tests are in tests/backends/win32.

enable_language(RC)
# The system's headers as of Windows 10, which the backend is written for.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE)
# The C and C++ runtimes and the threads library inside the program: nothing to ship beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB OMBREVALE_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(ombrevale_win32 STATIC ${OMBREVALE_WIN32_SOURCES})
target_link_libraries(ombrevale_win32 PUBLIC ombrevale_core winmm gdi32 user32 shell32 oleacc
  oleaut32 ole32 uuid)

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

# The logic's unit tests and the backend's own, cross-built and run under Wine.
set(OMBREVALE_BACKEND_HAS_UNIT_TESTS ON)
