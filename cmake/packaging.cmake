# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in a build directory makes maskora_<version>_<arch>.deb.
# Its library dependencies come from dpkg-shlibdeps, so the package asks for exactly the Qt,
# C and C++ runtime libraries that the binary links against.

set(MASKORA_MAINTAINER "${MASKORA_PUBLISHER} <maskora@users.noreply.github.com>")
set(MASKORA_HOMEPAGE "https://github.com/maskora/maskora")

# Debian policy wants a copyright file and a changelog in the package's documentation folder;
# the changelog compressed without a time stamp, so that rebuilds give the same package.
set(maskora_doc ${CMAKE_BINARY_DIR}/package-doc)
# The release date as a Debian changelog writes it ("Mon, 07 Dec 2026 00:00:00 +0000").
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" maskora_date "${MASKORA_RELEASE_DATE}")
set(maskora_y ${CMAKE_MATCH_1})
math(EXPR maskora_m "${CMAKE_MATCH_2}")
math(EXPR maskora_d "${CMAKE_MATCH_3}")
set(maskora_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
math(EXPR maskora_i "${maskora_m} - 1")
list(GET maskora_offsets ${maskora_i} maskora_offset)
if(maskora_m LESS 3)
  math(EXPR maskora_y "${maskora_y} - 1")
endif()
math(EXPR maskora_weekday
     "(${maskora_y} + ${maskora_y} / 4 - ${maskora_y} / 100 + ${maskora_y} / 400 + ${maskora_offset} + ${maskora_d}) % 7")
set(maskora_day_names Sun Mon Tue Wed Thu Fri Sat)
list(GET maskora_day_names ${maskora_weekday} maskora_day_name)
set(maskora_month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET maskora_month_names ${maskora_i} maskora_month_name)
set(maskora_release_date
    "${maskora_day_name}, ${CMAKE_MATCH_3} ${maskora_month_name} ${CMAKE_MATCH_1} 00:00:00 +0000")
function(maskora_write_doc name text)
  # Rewritten only when the text changes, so the changelog isn't compressed on every build.
  file(WRITE ${maskora_doc}/${name}.new "${text}")
  configure_file(${maskora_doc}/${name}.new ${maskora_doc}/${name} COPYONLY)
endfunction()
maskora_write_doc(copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Maskora
Upstream-Contact: ${MASKORA_MAINTAINER}
Source: ${MASKORA_HOMEPAGE}

Files: *
Copyright: 2026 ${MASKORA_PUBLISHER}
License: MIT

License: MIT
 Permission is hereby granted, free of charge, to any person obtaining a copy
 of this software and associated documentation files (the \"Software\"), to deal
 in the Software without restriction, including without limitation the rights
 to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
 copies of the Software, and to permit persons to whom the Software is
 furnished to do so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in all
 copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
 SOFTWARE.
")
maskora_write_doc(changelog
"maskora (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${MASKORA_MAINTAINER}  ${maskora_release_date}
")
find_program(MASKORA_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${maskora_doc}/changelog.gz
  COMMAND ${MASKORA_GZIP} -9nkf ${maskora_doc}/changelog
  DEPENDS ${maskora_doc}/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(maskora_package_doc ALL DEPENDS ${maskora_doc}/changelog.gz)
# They are the package's, not the program's: `cmake --install` leaves them out, and only
# CPack installs this component, beside the whole project (CPACK_INSTALL_CMAKE_PROJECTS).
install(FILES ${maskora_doc}/copyright ${maskora_doc}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/maskora
        COMPONENT debian_doc EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME maskora)
set(CPACK_PACKAGE_VENDOR "${MASKORA_PUBLISHER}")
set(CPACK_PACKAGE_CONTACT "${MASKORA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "IPv4 subnet calculator with an Italian interface")
set(CPACK_PACKAGE_DESCRIPTION
"Maskora is a small desktop calculator for IPv4 subnets. Type an address into
its four octet fields and pick one of the 33 masks from /32 to /0: every change
at once shows the network address, the broadcast address, the number of usable
hosts, whether the address can be given to a host, its classful network class
with the default mask, and what kind of address it is (private, loopback,
multicast, documentation and more).

Two buttons fill in an address: the local address of this computer, or the
public address under which it is seen from the internet. The user interface is
in Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian_doc;/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MASKORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MASKORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl's symbols only ask for 7.68; the client sets options that 7.87 brought, and an older
# library refuses every request.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.87.0)")
# The window's font and the certificates that the public-address request checks against.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra, ca-certificates")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
