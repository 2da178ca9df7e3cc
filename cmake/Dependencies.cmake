# Third-party code, never kept in the repository:
#  - zlib from Debian's MinGW package (libz-mingw-w64-dev),
#  - libpng and minizip (zlib's contrib) built here from Debian's source packages,
#  - GoogleTest cross-built from Debian's googletest source.

set(KORVEXA_SOURCES_DIR "${CMAKE_BINARY_DIR}/deps/src" CACHE PATH "Where Debian's source packages are unpacked")
if(NOT EXISTS "${KORVEXA_SOURCES_DIR}/libpng/png.c" OR NOT EXISTS "${KORVEXA_SOURCES_DIR}/minizip/unzip.c")
  execute_process(COMMAND "${PROJECT_SOURCE_DIR}/scripts/fetch-sources" "${KORVEXA_SOURCES_DIR}"
                  RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not fetch the source packages of libpng and zlib (run scripts/setup as root)")
  endif()
endif()

find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
add_library(zlib_static STATIC IMPORTED GLOBAL)
set_target_properties(zlib_static PROPERTIES IMPORTED_LOCATION "${ZLIB_STATIC}"
                                             INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_INCLUDE}")

# libpng
set(png_src "${KORVEXA_SOURCES_DIR}/libpng")
# The programs only read PNG. Without the simplified write API, png_image_free no longer refers
# to the writer, so neither libpng's writer nor zlib's deflate is linked into the installer.
file(READ "${png_src}/scripts/pnglibconf.h.prebuilt" pnglibconf)
string(REGEX REPLACE "#define PNG_SIMPLIFIED_WRITE[A-Z_]*_SUPPORTED\n" "" pnglibconf "${pnglibconf}")
file(WRITE "${CMAKE_BINARY_DIR}/deps/png/pnglibconf.h.in" "${pnglibconf}")
configure_file("${CMAKE_BINARY_DIR}/deps/png/pnglibconf.h.in" "${CMAKE_BINARY_DIR}/deps/png/pnglibconf.h" COPYONLY)
add_library(png_static STATIC
  ${png_src}/png.c ${png_src}/pngerror.c ${png_src}/pngget.c ${png_src}/pngmem.c
  ${png_src}/pngpread.c ${png_src}/pngread.c ${png_src}/pngrio.c ${png_src}/pngrtran.c
  ${png_src}/pngrutil.c ${png_src}/pngset.c ${png_src}/pngtrans.c ${png_src}/pngwio.c
  ${png_src}/pngwrite.c ${png_src}/pngwtran.c ${png_src}/pngwutil.c)
target_include_directories(png_static SYSTEM PUBLIC "${png_src}" "${CMAKE_BINARY_DIR}/deps/png")
target_compile_options(png_static PRIVATE -w)
target_link_libraries(png_static PUBLIC zlib_static)

# minizip, the unzip layer only (no encryption: the client archive carries none)
set(minizip_src "${KORVEXA_SOURCES_DIR}/minizip")
add_library(minizip_static STATIC ${minizip_src}/unzip.c ${minizip_src}/ioapi.c ${minizip_src}/iowin32.c)
target_include_directories(minizip_static SYSTEM PUBLIC "${minizip_src}")
target_compile_definitions(minizip_static PUBLIC NOUNCRYPT)
target_compile_options(minizip_static PRIVATE -w)
target_link_libraries(minizip_static PUBLIC zlib_static)

# GoogleTest
if(KORVEXA_BUILD_TESTS)
  set(KORVEXA_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "Debian's googletest source")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory("${KORVEXA_GOOGLETEST_DIR}" "${CMAKE_BINARY_DIR}/deps/googletest" EXCLUDE_FROM_ALL SYSTEM)
endif()
