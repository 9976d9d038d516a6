# The Debian packages, made by cpack from the install rules (scripts/package.sh): quillmark, the
# command with its manual page and completions; and quillmark-desktop, the window, the stand-in
# editor and the add-in library, so that a machine without Qt (a CI job, a git server) takes
# the first alone.
set(QUILLMARK_PACKAGE_MAINTAINER "Quillmark maintainers <maintainers@quillmark.invalid>" CACHE STRING
  "The Maintainer of the Debian packages: whoever builds them for others to install")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR Quillmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(TARGET quillmark-desktop)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUILLMARK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Exactly the libraries the programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME quillmark)
set(CPACK_DEBIAN_CLI_DESCRIPTION "turns the source code of VBA projects into HTML
Quillmark reads VBA projects from exported module files (.bas, .cls,
and .frm files), folders of them and Office documents with macros, and
writes their code as an HTML fragment with comments, strings, keywords
and names marked for a style sheet, as a standalone page, or as a
browsable site of whole projects. As git's textconv it shows the VBA
that changed in a workbook.
.
This package holds the quillmark command, its manual page and its bash
and zsh completions.")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME quillmark-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "quillmark (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "converter window and VBA-editor add-in of Quillmark
The commands of quillmark that need the Qt window toolkit: the converter
window (quillmark window), a stand-in VBA editor (quillmark editor) and
the add-in library that it loads (quillmark register, quillmark
unregister).")

# Debian's own places, and the files that every Debian package carries.
set(CPACK_QUILLMARK_ZSH_COMPLETION_DIR ${QUILLMARK_ZSH_COMPLETION_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)
include(CPack)
