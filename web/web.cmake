# The browser build, included by the top level under emcmake: the show's
# sources on the browser's platform layer (src/platform/web, and the GL 1.1
# layer on WebGL in src/platform/gl11), linked into
# site/orbelune.js + orbelune.wasm, the generated show preloaded as
# site/orbelune.data, and the page (this folder's index.html, page.css and
# scripts) copied beside them. Everything in site/ is addressed relatively,
# so the folder plays from any static web host as it is.
#
# The show's data comes from a native build (scripts/web makes it first):
#   -DORBELUNE_DATA_DIR=<native build>/data
set(ORBELUNE_DATA_DIR ${PROJECT_SOURCE_DIR}/build/data CACHE PATH "The generated show to preload")
set(ORBELUNE_SITE ${CMAKE_BINARY_DIR}/site)

file(GLOB_RECURSE ORBELUNE_WEB_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp)
# Out: the desktop's platform (SDL, FLTK, X11) but the dialog units, the
# PNG writer, and the desktop's entry point.
list(FILTER ORBELUNE_WEB_SOURCES EXCLUDE REGEX "/src/platform/[a-z_]+\\.cpp$")
list(FILTER ORBELUNE_WEB_SOURCES EXCLUDE REGEX "/src/assets/png_write\\.cpp$|/src/program/main\\.cpp$")
list(APPEND ORBELUNE_WEB_SOURCES ${PROJECT_SOURCE_DIR}/src/platform/dialog_units.cpp)

add_executable(orbelune ${ORBELUNE_WEB_SOURCES})
target_include_directories(orbelune PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(orbelune PRIVATE ORBELUNE_VERSION="${PROJECT_VERSION}" ORBELUNE_DATA_FROM_BIN="data")
target_compile_options(orbelune PRIVATE -O2
  -include ${PROJECT_SOURCE_DIR}/src/platform/web/charconv_float.h)
set_target_properties(orbelune PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORBELUNE_SITE}
  LINK_DEPENDS ${ORBELUNE_DATA_DIR}/script/texture.dat)
target_link_options(orbelune PRIVATE -O2
  -sMODULARIZE=1 -sEXPORT_NAME=createOrbelune -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
  -sEXPORTED_RUNTIME_METHODS=FS
  --preload-file ${ORBELUNE_DATA_DIR}@/data)

foreach(page index.html page.css page.js options.js zip.js)
  configure_file(${PROJECT_SOURCE_DIR}/web/${page} ${ORBELUNE_SITE}/${page} COPYONLY)
endforeach()
