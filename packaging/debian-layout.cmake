# Run by CPack between the staging install and the archive, to give the
# package Debian's layout: a game's program lives in /usr/games; the manual
# page and the changelog are compressed (gzip -9n: no name, no time).
file(GLOB_RECURSE staged LIST_DIRECTORIES false ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
foreach(file ${staged})
  if(file MATCHES "^(.*)/bin/orbelune$")
    file(MAKE_DIRECTORY ${CMAKE_MATCH_1}/games)
    file(RENAME ${file} ${CMAKE_MATCH_1}/games/orbelune)
    file(GLOB left ${CMAKE_MATCH_1}/bin/*)
    if(NOT left)
      file(REMOVE_RECURSE ${CMAKE_MATCH_1}/bin)
    endif()
  elseif(file MATCHES "/share/man/man6/[^/]+\\.6$|/share/doc/[^/]+/changelog$")
    execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip ${file} failed")
    endif()
  endif()
endforeach()
