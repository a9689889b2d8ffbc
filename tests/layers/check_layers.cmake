# Fails when an #include in src/ runs against the layer order: a folder may
# include its own headers and those of the folders listed before it, never
# one listed after it. Also: only src/platform includes SDL, SDL_mixer, FLTK or
# Emscripten.
#
#   cmake -DSRC=<source folder>/src -P check_layers.cmake
#
# The order, lowest first:
#   platform  the only code that talks to SDL2, SDL2_mixer and FLTK
#   assets    file formats: bitmaps, texture list, meshes, bounded reads
#   scene     scene records and their scripts and .3ds loading
#   render    drawing a scene, particles, lights, overlays
#   window    the GL window and the base GL state
#   shell     the show: schedule, timeline, frame loop, start-up, tools
#   capture   drivers of the show: capture and the bench
#   program   the command line's dispatch and main()
set(LAYERS platform assets scene render window shell capture program)

if(NOT SRC)
  message(FATAL_ERROR "usage: cmake -DSRC=<folder>/src -P check_layers.cmake")
endif()

file(GLOB_RECURSE FILES RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(PROBLEMS "")
foreach(file ${FILES})
  string(REGEX MATCH "^[^/]+" folder "${file}")
  list(FIND LAYERS ${folder} rank)
  if(rank LESS 0)
    string(APPEND PROBLEMS "  ${file}: folder ${folder} is not in the layer order\n")
    continue()
  endif()
  file(STRINGS ${SRC}/${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(line MATCHES "#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
      set(target ${CMAKE_MATCH_1})
      list(FIND LAYERS ${target} targetRank)
      if(targetRank GREATER rank)
        string(APPEND PROBLEMS "  ${file}: ${folder} may not include ${target} (${line})\n")
      endif()
    elseif(NOT folder STREQUAL "platform" AND line MATCHES "#[ \t]*include[ \t]*<(SDL|FL/|emscripten)")
      string(APPEND PROBLEMS "  ${file}: only platform talks to SDL, FLTK or Emscripten (${line})\n")
    endif()
    # The drawing code gets its GL from platform/gl.h: the system's, or the
    # GL 1.1 layer in the browser build.
    if(NOT file STREQUAL "platform/gl.h" AND line MATCHES "#[ \t]*include[ \t]*<GL/")
      string(APPEND PROBLEMS "  ${file}: GL comes through platform/gl.h (${line})\n")
    endif()
  endforeach()
endforeach()

if(PROBLEMS)
  string(REPLACE ";" " " order "${LAYERS}")
  message(FATAL_ERROR "includes against the layer order (${order}):\n${PROBLEMS}")
endif()
list(LENGTH FILES count)
message(STATUS "${count} files keep the layer order")
