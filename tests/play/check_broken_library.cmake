# vokta-task check on a broken library fails and names each fault.
execute_process(COMMAND ${TOOL} check ${FOLDER} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit code ${status}, not 1:\n${out}")
endif()
foreach(fault
    "hangs-in-the-air.tsk +2 +0  every solution needs a piece to hang in the air"
    "staircase.tsk +2346 +2346  ok"
    "steps.tsk +2346 +2346  the figure of staircase.tsk, turned or mirrored"
    "index.txt:5: gone.tsk is not there"
    "index.txt:6: 2 fields, not 5"
    "3 files, 2 failed; 2 problems")
  if(NOT out MATCHES "${fault}")
    message(FATAL_ERROR "no \"${fault}\" in:\n${out}")
  endif()
endforeach()
