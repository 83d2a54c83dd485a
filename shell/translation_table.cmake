# Writes the translations of a Qt Linguist file (TS) as rows of a C++ table
# to OUTPUT: {"context", "English", "translation"}, one message a line, in
# the file's order. The rules take their messages from it, so that the window
# (through Qt's translator, built from the same file) and vokta-play show the
# same words. Messages without a translation, and vanished or obsolete ones,
# are left out, as lrelease leaves them out. Anything this reader does not
# understand stops the build with the file and the problem.
#
#   cmake -DTS=vokta_ru.ts -DOUTPUT=vokta_ru.inc -P translation_table.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${TS}" ts)
get_filename_component(ts_name "${TS}" NAME)

# The text of an element as a C++ string literal's contents: the XML
# entities decoded (&amp; last, so that "&amp;lt;" stays "&lt;"), then
# quotes, backslashes and control characters escaped.
function(cpp_literal text out)
  string(REPLACE "&lt;" "<" text "${text}")
  string(REPLACE "&gt;" ">" text "${text}")
  string(REPLACE "&quot;" "\"" text "${text}")
  string(REPLACE "&apos;" "'" text "${text}")
  string(REPLACE "&amp;" "" others "${text}")
  string(FIND "${others}" "&" unknown)
  if(NOT unknown EQUAL -1)
    string(SUBSTRING "${others}" ${unknown} 10 reference)
    message(FATAL_ERROR "${ts_name}: unsupported character reference in \"${reference}...\"; "
                        "write the character itself")
  endif()
  string(REPLACE "&amp;" "&" text "${text}")
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Cuts the first <tag ...>...</tag> out of the variable named from: its
# contents, from the opening "<tag" on, go to found ("" when there is none)
# and from keeps what follows it.
function(take_element from tag found)
  set(text "${${from}}")
  string(FIND "${text}" "<${tag}" start)
  if(start EQUAL -1)
    set(${found} "" PARENT_SCOPE)
    return()
  endif()
  string(SUBSTRING "${text}" ${start} -1 text)
  string(FIND "${text}" "</${tag}>" end)
  if(end EQUAL -1)
    message(FATAL_ERROR "${ts_name}: a <${tag}> without its </${tag}>")
  endif()
  string(SUBSTRING "${text}" 0 ${end} element)
  string(LENGTH "</${tag}>" closing)
  math(EXPR after "${end} + ${closing}")
  string(SUBSTRING "${text}" ${after} -1 text)
  set(${found} "${element}" PARENT_SCOPE)
  set(${from} "${text}" PARENT_SCOPE)
endfunction()

set(rows "// Generated from ${ts_name} by puzzle/translation_table.cmake; edit the .ts file, not this one.\n")
while(TRUE)
  take_element(ts context context)
  if(context STREQUAL "")
    break()
  endif()
  if(NOT context MATCHES "<name>([^<]*)</name>")
    message(FATAL_ERROR "${ts_name}: a context without a <name>")
  endif()
  cpp_literal("${CMAKE_MATCH_1}" context_name)

  while(TRUE)
    take_element(context message entry)
    if(entry STREQUAL "")
      break()
    endif()
    if(NOT entry MATCHES "<source>([^<]*)</source>")
      message(FATAL_ERROR "${ts_name}: a message without a <source> in context ${context_name}")
    endif()
    cpp_literal("${CMAKE_MATCH_1}" source)
    # Plural forms and disambiguating comments would give one English text
    # more than one translation; the game uses neither.
    if(entry MATCHES "numerus=\"yes\"" OR entry MATCHES "<comment>")
      message(FATAL_ERROR "${ts_name}: \"${source}\" has plural forms or a disambiguating comment, "
                          "which the game's table does not hold")
    endif()
    if(entry MATCHES "<translation([^>]*)>([^<]*)</translation>")
      set(attributes "${CMAKE_MATCH_1}")
      cpp_literal("${CMAKE_MATCH_2}" translation)
      if(NOT translation STREQUAL "" AND NOT attributes MATCHES "vanished|obsolete")
        string(APPEND rows "{\"${context_name}\", \"${source}\", \"${translation}\"},\n")
      endif()
    endif()
  endwhile()
endwhile()

# Written only when it changes, so that nothing is rebuilt for nothing.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL rows)
  file(WRITE "${OUTPUT}" "${rows}")
endif()
