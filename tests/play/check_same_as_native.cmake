# Runs every script of SCRIPTS with the native vokta-play (NATIVE) and with
# the one built for another system (PLAY, with the command that runs it),
# each in a folder of its own that starts with the files of DATA. Both must
# end with the same exit code, print the same bytes and leave the same
# files holding the same bytes (the task files they saved).

cmake_minimum_required(VERSION 3.25)

file(GLOB scripts ${SCRIPTS}/*.play)
set(failures "")
foreach(script IN LISTS scripts)
  get_filename_component(name ${script} NAME_WE)
  set(compared ${WORK}/${name})
  file(REMOVE_RECURSE ${compared})
  foreach(side native other)
    file(COPY ${DATA}/ DESTINATION ${compared}/${side})
  endforeach()
  execute_process(COMMAND ${NATIVE} ${script} WORKING_DIRECTORY ${compared}/native
    RESULT_VARIABLE native_status OUTPUT_FILE ${compared}/native.out)
  execute_process(COMMAND ${PLAY} ${script} WORKING_DIRECTORY ${compared}/other
    RESULT_VARIABLE other_status OUTPUT_FILE ${compared}/other.out)
  if(NOT native_status STREQUAL other_status)
    string(APPEND failures "${name}: exit code ${other_status}, natively ${native_status}\n")
  endif()
  file(SHA256 ${compared}/native.out native_output)
  file(SHA256 ${compared}/other.out other_output)
  if(NOT native_output STREQUAL other_output)
    string(APPEND failures "${name}: prints other bytes than natively (${compared}/other.out)\n")
  endif()
  file(GLOB_RECURSE native_files RELATIVE ${compared}/native ${compared}/native/*)
  file(GLOB_RECURSE other_files RELATIVE ${compared}/other ${compared}/other/*)
  list(SORT native_files)
  list(SORT other_files)
  if(NOT native_files STREQUAL other_files)
    string(APPEND failures "${name}: leaves the files ${other_files}, natively ${native_files}\n")
    continue()
  endif()
  foreach(file IN LISTS native_files)
    file(SHA256 ${compared}/native/${file} native_bytes)
    file(SHA256 ${compared}/other/${file} other_bytes)
    if(NOT native_bytes STREQUAL other_bytes)
      string(APPEND failures "${name}: ${file} holds other bytes than natively\n")
    endif()
  endforeach()
endforeach()

if(NOT scripts)
  set(failures "no scripts in ${SCRIPTS}\n")
endif()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
list(LENGTH scripts count)
message("${count} scripts: the same output and the same files")
