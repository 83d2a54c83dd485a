# The page's soundfont, cut down by scripts/cut-soundfont to the presets of
# web/page_sound_presets.txt, plays each cue's tune to the same samples as the
# whole soundfont: vokta-tune renders both to WAV files, which must be equal.
file(STRINGS ${SOURCE_DIR}/web/page_sound_presets.txt presets REGEX "^[0-9]")
set(soundfont_whole ${SOUNDFONT})
set(soundfont_cut ${WORK_DIR}/cut.sf2)
execute_process(COMMAND /usr/bin/python3 ${SOURCE_DIR}/scripts/cut-soundfont ${SOUNDFONT} ${soundfont_cut} ${presets}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cut-soundfont failed")
endif()
# The cues of music/tune_sounds.cpp, each with its channel.
foreach(cue "0;p2(o5go6ce)8(o5go6ce)16(o5go6ce)16(o5go6ce)2" "9;o5c16" "9;o5d16")
  list(GET cue 0 channel)
  list(GET cue 1 text)
  foreach(soundfont whole cut)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env VOKTA_SOUNDFONT=${soundfont_${soundfont}}
                            ${VOKTA_TUNE} --channel ${channel} --wav ${WORK_DIR}/${soundfont}.wav ${text}
      OUTPUT_QUIET RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "vokta-tune could not render ${text} with ${soundfont_${soundfont}}")
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/whole.wav ${WORK_DIR}/cut.wav
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${text} sounds different with the cut soundfont")
  endif()
endforeach()
