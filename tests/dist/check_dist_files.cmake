# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop files of dist/ agree with each other and with the project: the MIME package is
# well-formed and compiles into a glob for *.tom of the type the desktop entry opens, and the
# metadata's newest release and the manual pages name the project's version; the program is
# GPL-3.0-or-later and our pictures, sounds, music and board texts CC-BY-SA-4.0 alike in the
# metadata, the package's copyright file and the source tree's licence files; the package's
# maintainer has an address.
# cmake -DXMLLINT= -DUPDATE_MIME_DATABASE= -DDIST_DIR= -DAPP_ID= -DVERSION= -DWORK_DIR=
#       -DSOURCE_DIR= -DMAINTAINER= -P ...
function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

set(mime_file ${DIST_DIR}/${APP_ID}.xml)
execute_process(COMMAND ${XMLLINT} --noout ${mime_file} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("${mime_file} is not well-formed XML (${status})")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${mime_file} DESTINATION ${WORK_DIR}/packages)
execute_process(COMMAND ${UPDATE_MIME_DATABASE} ${WORK_DIR} RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR errors MATCHES "${APP_ID}")
  fail("update-mime-database refused ${mime_file} (${status}): ${errors}")
endif()

file(STRINGS ${DIST_DIR}/${APP_ID}.desktop mime_line REGEX "^MimeType=")
string(REGEX REPLACE "^MimeType=([^;]+);$" "\\1" desktop_type "${mime_line}")
if(desktop_type STREQUAL "" OR desktop_type STREQUAL mime_line)
  fail("the desktop entry names no single MIME type: '${mime_line}'")
endif()
file(STRINGS ${WORK_DIR}/globs2 globs)
if(NOT globs MATCHES "[0-9]+:${desktop_type}:\\*\\.tom")
  fail("the compiled globs give *.tom no type ${desktop_type}: ${globs}")
endif()

file(READ ${DIST_DIR}/${APP_ID}.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  fail("the newest release of the metadata is '${CMAKE_MATCH_1}', the project's ${VERSION}")
endif()
foreach(page tomtura.6 tomtura-sim.6)
  file(STRINGS ${DIST_DIR}/${page} header REGEX "^\\.TH ")
  if(NOT header MATCHES "\"Tomtura ${VERSION}\"")
    fail("${page} names another version than ${VERSION}: ${header}")
  endif()
endforeach()

string(REGEX MATCH "<project_license>([^<]*)</project_license>" license "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL "GPL-3.0-or-later AND CC-BY-SA-4.0")
  fail("the metadata's project licence is '${CMAKE_MATCH_1}'")
endif()
file(READ ${DIST_DIR}/copyright copyright)
foreach(part "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
             "Files: \\*\nCopyright: [^\n]+\nLicense: GPL-3\\+\n"
             "Files: assets/\\*\nCopyright: [^\n]+\nLicense: CC-BY-SA-4.0\n"
             "\nLicense: GPL-3\\+\n" "\nLicense: CC-BY-SA-4.0\n")
  if(NOT copyright MATCHES "${part}")
    fail("dist/copyright lacks '${part}'")
  endif()
endforeach()
file(STRINGS ${SOURCE_DIR}/LICENSE gpl LIMIT_COUNT 2)
file(STRINGS ${SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt ccbysa LIMIT_COUNT 1)
if(NOT gpl MATCHES "GNU GENERAL PUBLIC LICENSE;.*Version 3" OR
   NOT ccbysa MATCHES "Attribution-ShareAlike 4.0 International")
  fail("LICENSE or LICENSES/CC-BY-SA-4.0.txt is not the licence's text")
endif()

if(NOT MAINTAINER MATCHES "^[^<>]+ <[^@<>]+@[^@<>]+\\.[a-z]+>$" OR
   MAINTAINER MATCHES "example\\.|placeholder|localhost")
  fail("the package's maintainer '${MAINTAINER}' is no name and address to write to")
endif()
