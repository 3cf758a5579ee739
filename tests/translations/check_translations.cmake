# Fails when a translation file lacks a text of the sources: lupdate is run over SOURCE_DIR into
# a copy of each TS file (the source tree is not touched), and lrelease on the copy must report
# every text finished, none new and none ignored.
#   cmake -DLUPDATE=... -DLRELEASE=... -DSOURCE_DIR=... -DTS_DIR=... -DWORK_DIR=... -P <this>
foreach(var LUPDATE LRELEASE SOURCE_DIR TS_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(GLOB ts_files ${TS_DIR}/*.ts)
if(NOT ts_files)
  message(FATAL_ERROR "no translation files in ${TS_DIR}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

set(faults "")
foreach(ts ${ts_files})
  get_filename_component(name ${ts} NAME)
  get_filename_component(stem ${ts} NAME_WE)
  set(copy ${WORK_DIR}/${name})
  file(COPY_FILE ${ts} ${copy})

  execute_process(COMMAND ${LUPDATE} -locations none -no-obsolete ${SOURCE_DIR} -ts ${copy}
                  OUTPUT_VARIABLE updated ERROR_VARIABLE updated RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "lupdate failed on ${name}:\n${updated}")
  endif()
  message(STATUS "${name}: ${updated}")
  if(NOT updated MATCHES "Found ([0-9]+) source text\\(s\\) \\(([0-9]+) new")
    message(FATAL_ERROR "lupdate said nothing about ${name}:\n${updated}")
  endif()
  if(NOT CMAKE_MATCH_2 EQUAL 0)
    string(APPEND faults "${name}: ${CMAKE_MATCH_2} source text(s) missing from the file\n")
  endif()

  execute_process(COMMAND ${LRELEASE} ${copy} -qm ${WORK_DIR}/${stem}.qm
                  OUTPUT_VARIABLE released ERROR_VARIABLE released RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "lrelease failed on ${name}:\n${released}")
  endif()
  message(STATUS "${name}: ${released}")
  set(generated "Generated ([0-9]+) translation\\(s\\) \\(([0-9]+) finished and ([0-9]+) unfinished")
  if(NOT released MATCHES "${generated}")
    message(FATAL_ERROR "lrelease said nothing about ${name}:\n${released}")
  endif()
  if(NOT CMAKE_MATCH_3 EQUAL 0 OR NOT CMAKE_MATCH_1 EQUAL CMAKE_MATCH_2)
    string(APPEND faults "${name}: ${CMAKE_MATCH_3} unfinished translation(s)\n")
  endif()
  if(released MATCHES "Ignored ([0-9]+) untranslated")
    string(APPEND faults "${name}: ${CMAKE_MATCH_1} untranslated source text(s)\n")
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "Translations are incomplete (run lupdate and translate the new texts):\n"
                      "${faults}")
endif()
