# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build under a scratch prefix and checks the tree: the programs and nothing else in
# bin/, the data, the desktop files and the manual pages in their places; then the installed
# simulator, which finds its board in ../share/tomtura, plays a game and saves it.
# Each of the game's modules calls into the game for the front end and the core it does not
# hold: every such symbol it lacks must be one the installed game exports.
# cmake -DBUILD_DIR= -DPREFIX= -DAPP_ID= -DPROGRAMS= -DMODULES= -DNM= -DASSETS= -P ...
cmake_policy(SET CMP0057 NEW)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()

file(GLOB installed_programs RELATIVE ${PREFIX}/bin ${PREFIX}/bin/*)
list(SORT installed_programs)
set(expected_programs ${PROGRAMS})
list(SORT expected_programs)
if(NOT installed_programs STREQUAL expected_programs)
  message(FATAL_ERROR "bin/ holds '${installed_programs}', not '${expected_programs}'")
endif()

set(expected
    share/tomtura/tomtura.lst share/tomtura/tomtura.bmp share/tomtura/manual.html
    share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
    share/mime/packages/${APP_ID}.xml share/man/man6/tomtura.6.gz
    share/man/man6/tomtura-sim.6.gz share/doc/tomtura/copyright)
file(GLOB editions RELATIVE ${ASSETS} ${ASSETS}/tomtura*.lst)
file(GLOB sounds RELATIVE ${ASSETS} ${ASSETS}/tomtura*.wav ${ASSETS}/tomtura*.mid)
file(GLOB pictures RELATIVE ${ASSETS} ${ASSETS}/tomtura*.bmp)
file(GLOB manuals RELATIVE ${ASSETS} ${ASSETS}/manual*.html)
foreach(name ${editions} ${sounds} ${pictures} ${manuals})
  list(APPEND expected share/tomtura/${name})
endforeach()
file(GLOB icons RELATIVE ${ASSETS}/icons ${ASSETS}/icons/tomtura-*.png)
if(NOT icons)
  message(FATAL_ERROR "no icons in ${ASSETS}/icons")
endif()
foreach(icon ${icons})
  string(REGEX REPLACE "^tomtura-([0-9]+)\\.png$" "\\1" size ${icon})
  list(APPEND expected share/tomtura/icons/${icon}
       share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "the install lacks ${path}")
  endif()
endforeach()

# The dynamic symbols of `file`, defined or (with `undefined`) needed, one per list element.
function(dynamic_symbols file kind out)
  execute_process(COMMAND ${NM} -D --${kind}-only --format=just-symbols ${file}
                  RESULT_VARIABLE status OUTPUT_VARIABLE symbols)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} cannot read ${file}")
  endif()
  string(REPLACE "\n" ";" symbols "${symbols}")
  set(${out} ${symbols} PARENT_SCOPE)
endfunction()

if(MODULES)
  dynamic_symbols(${PREFIX}/bin/tomtura defined exported)
endif()
foreach(module ${MODULES})
  set(file ${PREFIX}/lib/tomtura/${module}.so)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "the install lacks lib/tomtura/${module}.so")
  endif()
  dynamic_symbols(${file} undefined needed)
  foreach(symbol ${needed})
    if(symbol MATCHES "tomtura" AND NOT symbol IN_LIST exported)
      message(FATAL_ERROR "${module}.so needs ${symbol}, which bin/tomtura does not export")
    endif()
  endforeach()
endforeach()

set(saved ${PREFIX}/game.tom)
execute_process(COMMAND ${PREFIX}/bin/tomtura-sim --games 1 --players 3 --seed 5 --save ${saved}
                WORKING_DIRECTORY /
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "games +1" OR NOT EXISTS ${saved})
  message(FATAL_ERROR "the installed tomtura-sim failed (${status}): ${output}${errors}")
endif()
