# Run by CPack between the staging install and the archive: Debian wants the
# manual page and the changelog compressed (gzip -9n: no name, no time).
file(GLOB_RECURSE staged LIST_DIRECTORIES false ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
list(FILTER staged INCLUDE REGEX "/share/man/man6/[^/]+\\.6$|/share/doc/[^/]+/changelog$")
foreach(file ${staged})
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endforeach()
