# The command-line tools misused as a new user might: each row runs a tool
# and expects its exit code and a pattern over what it printed, written as
# "OUT:<stdout>\nERR:<stderr>". Each row: exit code|pattern|command, the
# command's words split at spaces, then @PLAY@, @TASK@, @SOAK@, @TUNE@,
# @WORK@ and @DATA@ put in. SOUND names the sound backend vokta-tune was
# built with: only FluidSynth renders WAV files.
# A code is written from a file and read back into one as well.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/folder ${WORK}/library ${WORK}/out)
file(WRITE ${WORK}/empty.txt "")
# A library whose index calls a task of 2346 solutions hard: 300 or more make it easy.
file(COPY ${DATA}/broken-library/staircase.tsk DESTINATION ${WORK}/library)
file(WRITE ${WORK}/library/index.txt "# file, solutions, difficulty, English name, Russian name\n"
                                     "staircase.tsk\t2346\thard\tStaircase\tStaircase\n")
# The 3 x 3 x 3 cube, then a figure of one cell: the second fails after the
# first is made, and the folder made into must stay as it was.
set(layer "layer\n###\n###\n###\n")
file(WRITE ${WORK}/figures.txt "figure cube\n${layer}${layer}${layer}end\nfigure speck\nlayer\n#\nend\n")
file(WRITE ${WORK}/out/index.txt "an index made before\n")

set(table
  "2|^OUT:\nERR:vokta-play: [^\n]*/folder: the script is a folder, not a file\n$|@PLAY@ @WORK@/folder"
  "0|^OUT:usage: vokta-play.*ERR:$|@PLAY@ --help"
  "0|^OUT:usage: vokta-task.*ERR:$|@TASK@ --help"
  "1|ERR:vokta-task: [^\n]*/folder: a folder, not a figures file\n$|@TASK@ make @WORK@/folder @WORK@/made"
  "1|ERR:vokta-task: [^\n]*/empty.txt: no figures in it\n$|@TASK@ make @WORK@/empty.txt @WORK@/made"
  "1|figure speck has 1 cells.*vokta-task: [^\n]*/out left as it was: 1 of 2 figures failed\n$|@TASK@ make @WORK@/figures.txt @WORK@/out"
  "1|staircase.tsk +2346 +2346  index.txt line 2 says hard, and 2346 solutions make it easy\n|@TASK@ check @WORK@/library"
  "1|^OUT:\nERR:vokta-task: [^\n]*/newer-version.tsk: Incompatible version. Please refresh the game.\n$|@TASK@ info @DATA@/newer-version.tsk"
  "2|^OUT:\nERR:vokta-task: .2027-02-30.: no such day\nusage: vokta-task|@TASK@ daily 2027-02-30 @WORK@/made.tsk"
  "2|ERR:vokta-task: .1999-12-31.: not from 2000 to 2999\n|@TASK@ daily 1999-12-31 @WORK@/made.tsk"
  "2|ERR:vokta-task: .3000-01-01.: not from 2000 to 2999\n|@TASK@ daily 3000-01-01 @WORK@/made.tsk"
  "2|ERR:vokta-task: .2026-3-1.: not a date written YYYY-MM-DD\n|@TASK@ daily 2026-3-1 @WORK@/made.tsk"
  "2|ERR:vokta-task: daily takes a date, YYYY-MM-DD, and the task file to write\n|@TASK@ daily 2026-03-01"
  "2|ERR:vokta-task: --difficulty .impossible.: not easy, medium, hard or unique\n|@TASK@ generate --difficulty impossible --seed 1 @WORK@/made.tsk"
  "2|ERR:vokta-task: --seed .4294967296.: not a whole number from 0 to 4294967295\n|@TASK@ generate --difficulty easy --seed 4294967296 @WORK@/made.tsk"
  "2|ERR:vokta-task: --seed .-1.: not a whole number|@TASK@ generate --difficulty easy --seed -1 @WORK@/made.tsk"
  "2|ERR:vokta-task: --seed needs a value\n|@TASK@ generate --difficulty easy @WORK@/made.tsk --seed"
  "2|ERR:vokta-task: generate takes --difficulty, --seed and the task file to write\n|@TASK@ generate --seed 3 @WORK@/made.tsk"
  "1|^OUT:\nERR:vokta-task: The task could not be saved as [^\n]*/folder: a folder of that name is in the way.\n$|@TASK@ generate --difficulty hard --seed 3 @WORK@/folder"
  "2|ERR:vokta-task: code needs task files\n|@TASK@ code"
  "1|^OUT:1vAs____-\n\nERR:vokta-task: [^\n]*/no-cells.tsk: This task has no code: its figure has no cells.\n$|@TASK@ code @DATA@/cube-v0.tsk @DATA@/no-cells.tsk"
  "2|ERR:vokta-task: decode takes a task code and a file to write\n|@TASK@ decode 1vAs____-"
  "1|^OUT:\nERR:vokta-task: The task code 1vAs___ cannot be opened: it ends before its task does: part of it is missing.\n$|@TASK@ decode 1vAs___ @WORK@/cut.tsk"
  "1|ERR:vokta-task: The task could not be saved as [^\n]*/folder: a folder of that name is in the way.\n$|@TASK@ decode 1vAs____- @WORK@/folder"
  "0|^OUT:1fAsJ_Zy3W8\n\nERR:$|@TASK@ code @DATA@/five-pieces.tsk"
  "0|^OUT:\nERR:$|@TASK@ decode vokta:1fAsJ_Zy3W8 @WORK@/five.tsk"
  "0|^OUT:[^\n]*five.tsk: version 1, 5 pieces, 19 cells, from \\(-10, -10, 0\\) to \\(10, 10, 30\\), connected\n|@TASK@ info @WORK@/five.tsk"
  "0|^OUT:usage: vokta-soak.*ERR:$|@SOAK@ --help"
  "2|ERR:vokta-soak: --seed needs a whole number from 0 to 4294967295, not .-1.\n|@SOAK@ --seed -1"
  "2|ERR:vokta-soak: --seeds needs a whole number from 1 to 100000000, not .0.\n|@SOAK@ --seeds 0"
  "2|ERR:vokta-soak: --actions needs a whole number from 1 to 100000000, not .0.\n|@SOAK@ --actions 0"
  "2|ERR:vokta-soak: --actions [^\n]*, not .-5.\n|@SOAK@ --actions -5"
  "2|ERR:vokta-soak: --actions [^\n]*, not .many.\n|@SOAK@ --actions many"
  "2|ERR:vokta-soak: --actions [^\n]*, not .100000001.\n|@SOAK@ --actions 100000001"
  "2|ERR:vokta-soak: --actions needs a whole number from 1 to 100000000\n|@SOAK@ --actions"
  "2|ERR:vokta-soak: --tasks [^\n]*/missing: no such folder\n$|@SOAK@ --tasks @WORK@/missing"
  "2|ERR:vokta-soak: --tasks [^\n]*/empty.txt: not a folder\n$|@SOAK@ --tasks @WORK@/empty.txt"
  "2|ERR:vokta-soak: unknown option .--frobnicate.\n|@SOAK@ --frobnicate"
  "0|^OUT:usage: vokta-tune.*ERR:$|@TUNE@ --help"
  "2|ERR:vokta-tune: no tune text given\n|@TUNE@"
  "2|ERR:vokta-tune: unknown option --frobnicate\n|@TUNE@ --frobnicate c"
)
if(SOUND STREQUAL "fluidsynth")
  list(APPEND table
    "1|^OUT:\nERR:vokta-tune: cannot write [^\n]*/missing/tune.wav: No such file or directory\n$|@TUNE@ --wav @WORK@/missing/tune.wav c")
else()
  list(APPEND table
    "2|^OUT:\nERR:vokta-tune: --wav renders with FluidSynth, which this build does not have\n|@TUNE@ --wav @WORK@/missing/tune.wav c")
endif()

set(failures "")
foreach(row IN LISTS table)
  string(REGEX MATCH "^([0-9]+)\\|(.*)\\|([^|]*)$" parsed "${row}")
  set(code ${CMAKE_MATCH_1})
  set(pattern "${CMAKE_MATCH_2}")
  set(written "${CMAKE_MATCH_3}")
  string(REPLACE " " ";" words "${written}")
  set(command "")
  foreach(word IN LISTS words)
    foreach(name PLAY TASK SOAK TUNE WORK DATA)
      string(REPLACE "@${name}@" "${${name}}" word "${word}")
    endforeach()
    list(APPEND command "${word}")
  endforeach()
  execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(printed "OUT:${out}\nERR:${err}")
  if(NOT status STREQUAL code OR NOT printed MATCHES "${pattern}")
    string(APPEND failures "\n${written}: exit code ${status}, not ${code}, or no match for\n  ${pattern}\nin\n${printed}\n")
  endif()
endforeach()

# A refused daily or generate wrote nothing.
if(EXISTS ${WORK}/made.tsk)
  string(APPEND failures "\na refused daily or generate wrote made.tsk\n")
endif()

# The failed make changed nothing: no new file, the old index as it was, and
# no folder of its own left beside it.
file(GLOB made RELATIVE ${WORK}/out ${WORK}/out/*)
file(READ ${WORK}/out/index.txt index)
file(GLOB left ${WORK}/.out*)
if(NOT made STREQUAL "index.txt" OR NOT index STREQUAL "an index made before\n" OR left)
  string(APPEND failures "\nthe failed make changed its folder: ${made}, \"${index}\", left ${left}\n")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
