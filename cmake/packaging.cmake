# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in the build folder. Its run-time dependencies come from
# dpkg-shlibdeps, which reads the libraries the two programs link; only the Qt platform
# plugins, which Qt loads at run time and no linker sees, are named by hand.

# Who answers for the package: its Maintainer field and the changelog's signature. The
# default lies in a domain reserved for examples; set the project's own address here once
# it has a public home.
set(TOLVANE_MAINTAINER "tolvane developers <tolvane@example.org>" CACHE STRING
    "Maintainer of the Debian package, as: Name <address>")
if(NOT TOLVANE_MAINTAINER MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ ]+[.][^<>@ .]+>$")
  message(FATAL_ERROR "TOLVANE_MAINTAINER must read 'Name <address>': ${TOLVANE_MAINTAINER}")
endif()

# /usr/share/doc/tolvane/copyright in Debian's machine-readable format. The glyph font's
# licence is given in full there, in the wording of Debian's fonts-arphic-ukai (the part of
# Vivar01.LICENSE.txt between its two rules), as a field of indented lines.
file(READ ${PROJECT_SOURCE_DIR}/data/Vivar01.LICENSE.txt font_licence)
set(rule "\n========================================================================\n")
string(FIND "${font_licence}" "${rule}" first)
string(FIND "${font_licence}" "${rule}" last REVERSE)
if(first EQUAL -1 OR first EQUAL last)
  message(FATAL_ERROR "data/Vivar01.LICENSE.txt: the licence between two rules is missing")
endif()
string(LENGTH "${rule}" rule_length)
math(EXPR first "${first} + ${rule_length}")
math(EXPR length "${last} - ${first}")
string(SUBSTRING "${font_licence}" ${first} ${length} font_licence)
string(STRIP "${font_licence}" font_licence)
foreach(pass 1 2)  # the second pass catches a blank line that follows another
  string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" font_licence "${font_licence}")
endforeach()
string(REPLACE "\n" "\n " TOLVANE_FONT_LICENCE " ${font_licence}")
set(TOLVANE_DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)
configure_file(cmake/debian/copyright.in ${TOLVANE_DEBIAN_DIR}/copyright @ONLY)

# The package is native (the version has no Debian revision), so its Debian changelog is
# changelog.gz: the version and release date of project(), signed by the maintainer. The
# entry in cmake/debian/changelog.in describes the current version; earlier entries go
# below it.
execute_process(COMMAND date -u -R -d "${TOLVANE_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE TOLVANE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(cmake/debian/changelog.in ${TOLVANE_DEBIAN_DIR}/changelog @ONLY)
add_custom_command(
  OUTPUT ${TOLVANE_DEBIAN_DIR}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nkf ${TOLVANE_DEBIAN_DIR}/changelog
  DEPENDS ${TOLVANE_DEBIAN_DIR}/changelog
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${TOLVANE_DEBIAN_DIR}/changelog.gz)
install(FILES ${TOLVANE_DEBIAN_DIR}/copyright ${TOLVANE_DEBIAN_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# strip leaves the compiler's notes in the .comment section; a stripped installation (the
# package's) goes without them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program tolvane tolvane-cli)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TOLVANE_MAINTAINER}")
# Debian's package descriptions are English; the programs themselves speak German.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for the Chinese sexagenary cycle")
set(CPACK_PACKAGE_DESCRIPTION
"For any hour and date tolvane shows the heavenly stem and earthly branch of
the day, the month and the year, the branch of the hour, their positions in the
cycle of sixty, the day on which the cycle year begins and the winter solstice
from which the months are counted. The Sun and the Moon are computed by the
program's own astronomy engine from the VSOP87 series of the Earth and Meeus'
lunar series. A small notes editor and the command-line program tolvane-cli
come with it.

The programs, their messages and their manual pages are in German.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The platform for Wayland desktops; Qt's own dialogs (file, font, print) in the desktop's
# language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
# Folders 0755 and files as installed, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
