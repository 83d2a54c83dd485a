# Installs the build into a folder of its own and checks that everything a
# desktop looks for is where it looks.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${complaints}")
endif()
set(expected
  bin/vokta bin/vokta-play bin/vokta-task bin/vokta-tune
  share/vokta/vokta.x
  share/vokta/tasks/index.txt share/vokta/tasks/cube.tsk share/vokta/tasks/ship.tsk
  share/applications/org.vokta.Vokta.desktop
  share/metainfo/org.vokta.Vokta.metainfo.xml
  share/mime/packages/org.vokta.Vokta.xml
  share/icons/hicolor/scalable/apps/org.vokta.Vokta.svg)
foreach(size 16 22 24 32 48 64 128 192 256 512)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/org.vokta.Vokta.png)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/org.vokta.Vokta.desktop entry)
if(NOT entry MATCHES "MimeType=application/x-vokta-task;x-scheme-handler/vokta;" OR NOT entry MATCHES "Exec=vokta %u")
  message(FATAL_ERROR "the desktop entry does not open task files and vokta: links")
endif()
