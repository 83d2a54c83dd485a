# Builds the Debian package of a build, unpacks it into a scratch root with
# dpkg -x, as installing would, and runs the installed programs from there:
# they find the model file and the task library in the package's own
# /usr/share/vokta.
#   cmake -DBUILD_DIR=... -DWORK=... -P check_package.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND cpack --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}/out
  RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
file(GLOB package ${WORK}/out/vokta_*.deb)
if(NOT result EQUAL 0 OR NOT package)
  message(FATAL_ERROR "cpack made no package:\n${said}")
endif()

# The libraries it links are its dependencies, as dpkg-shlibdeps found them.
execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE fields)
foreach(needed libc6 libqt6core6 libqt6widgets6 libfluidsynth3 libqt6svg6)
  if(NOT fields MATCHES "${needed}")
    message(FATAL_ERROR "the package's control file lacks ${needed}:\n${fields}")
  endif()
endforeach()

set(root ${WORK}/root)
execute_process(COMMAND dpkg -x ${package} ${root} RESULT_VARIABLE result ERROR_VARIABLE said)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg -x ${package}: ${said}")
endif()
foreach(file
    usr/bin/vokta usr/bin/vokta-play usr/bin/vokta-task usr/bin/vokta-tune
    usr/share/vokta/vokta.x usr/share/vokta/tasks/index.txt usr/share/vokta/tasks/cube.tsk
    usr/share/applications/org.vokta.Vokta.desktop usr/share/metainfo/org.vokta.Vokta.metainfo.xml
    usr/share/mime/packages/org.vokta.Vokta.xml usr/share/icons/hicolor/scalable/apps/org.vokta.Vokta.svg
    usr/share/icons/hicolor/48x48/apps/org.vokta.Vokta.png
    usr/share/doc/vokta/copyright usr/share/doc/vokta/changelog.gz)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not in the package: /${file}")
  endif()
endforeach()
file(READ ${root}/usr/share/applications/org.vokta.Vokta.desktop entry)
if(NOT entry MATCHES "x-scheme-handler/vokta;" OR NOT entry MATCHES "Exec=vokta %u")
  message(FATAL_ERROR "the installed desktop entry does not open vokta: links:\n${entry}")
endif()

# Each row: exit code|pattern over "OUT:<stdout>ERR:<stderr>"|program and arguments, split at spaces; @ROOT@
# and @WORK@ put in. The game itself gets as far as the command line once it has found its model file (a
# missing one would end it with 2).
set(bin ${root}/usr/bin)
file(WRITE ${WORK}/script.play "setup 4\ncode 1fAsJ_Zy3W8\nexpect pieceCount 5\nexpect cellCount 19\n")
set(table
  "0|^OUT:1vAs____-\n1uX9IaSx_dA003W001m000G\nERR:$|vokta-task code @ROOT@/usr/share/vokta/tasks/cube.tsk @ROOT@/usr/share/vokta/tasks/bed.tsk"
  "0|46 files, 0 failed|vokta-task check @ROOT@/usr/share/vokta/tasks"
  "0|^OUT:ERR:$|vokta-play @WORK@/script.play"
  "3|ERR:(.*\n)?vokta: unknown option --frobnicate|vokta --frobnicate")
foreach(row IN LISTS table)
  string(REGEX MATCH "^([0-9]+)\\|(.*)\\|([^|]*)$" parsed "${row}")
  set(code ${CMAKE_MATCH_1})
  set(pattern "${CMAKE_MATCH_2}")
  string(REPLACE "@ROOT@" "${root}" written "${CMAKE_MATCH_3}")
  string(REPLACE "@WORK@" "${WORK}" written "${written}")
  string(REPLACE " " ";" command "${written}")
  list(POP_FRONT command program)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen VOKTA_SOUND=off ${bin}/${program} ${command}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL code OR NOT "OUT:${out}ERR:${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "installed ${written}: exit code ${status}, not ${code}, or no match for\n  ${pattern}\nin\n"
                        "OUT:${out}ERR:${err}")
  endif()
endforeach()
