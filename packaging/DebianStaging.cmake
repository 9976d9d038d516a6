# Run by cpack over the staged files of the packages before it packs them: the programs stripped,
# Debian's place for zsh completions, the copyright and changelog files that every Debian
# package carries, and the reasons for the lintian tags that stay.
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC) # SOURCE_DATE_EPOCH when set
foreach(component ${CPACK_COMPONENTS_ALL})
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX})

  # Debian's zsh reads the completions of packages from vendor-completions; site-functions is
  # the local administrator's.
  if(EXISTS ${root}/${CPACK_QUILLMARK_ZSH_COMPLETION_DIR})
    file(MAKE_DIRECTORY ${root}/share/zsh)
    file(RENAME ${root}/${CPACK_QUILLMARK_ZSH_COMPLETION_DIR} ${root}/share/zsh/vendor-completions)
  endif()

  # Stripped as Debian strips its packages: no symbols, no compiler's notes, a library keeping
  # what its loader needs.
  file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/*)
  foreach(file ${files})
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      set(unneeded)
      if(file MATCHES "\\.so$")
        set(unneeded --strip-unneeded)
      endif()
      execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${unneeded} ${file}
        COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()

  set(doc ${root}/share/doc/${package})
  file(MAKE_DIRECTORY ${doc})
  file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/copyright ${doc}/copyright)
  file(MAKE_DIRECTORY ${root}/share/lintian/overrides)
  file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides ${root}/share/lintian/overrides/${package})
  file(WRITE ${doc}/changelog
    "${package} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
    "  * Quillmark ${CPACK_PACKAGE_VERSION}.\n\n"
    " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${date}\n")
  execute_process(COMMAND gzip -9nf ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
endforeach()
