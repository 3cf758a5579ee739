# The desktop files of dist/ agree with each other and with the project: the MIME package is
# well-formed and compiles into a glob for *.tom of the type the desktop entry opens, and the
# metadata's newest release and the manual pages name the project's version.
# cmake -DXMLLINT= -DUPDATE_MIME_DATABASE= -DDIST_DIR= -DAPP_ID= -DVERSION= -DWORK_DIR= -P ...
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
