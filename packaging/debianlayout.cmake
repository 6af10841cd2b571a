# Run by cpack on the files staged for the Debian package, before it packs them: moves them
# to where Debian keeps a game's files. The program goes to /usr/games; its pictures and
# sounds stay in /usr/share/kestrane, which is ../share/kestrane from /usr/games as from
# /usr/bin, so the program finds them the same way. The manual page and the changelog are
# compressed, without a name or time in the header so the package is the same on every
# build.
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
if(NOT EXISTS ${usr}/bin/kestrane)
  message(FATAL_ERROR "debianlayout: no program staged in ${usr}/bin")
endif()
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/kestrane ${usr}/games/kestrane)
file(GLOB left ${usr}/bin/*)
if(left)
  message(FATAL_ERROR "debianlayout: ${left} would be left in /usr/bin")
endif()
file(REMOVE_RECURSE ${usr}/bin)
foreach(file share/man/man6/kestrane.6 share/doc/kestrane/changelog)
  execute_process(COMMAND gzip -9n ${usr}/${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "debianlayout: cannot compress ${usr}/${file}")
  endif()
endforeach()
