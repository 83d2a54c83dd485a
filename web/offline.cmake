# Writes the page's service worker (service-worker.js, from the template
# beside this file) into the page's folder: the list of every file there,
# and a version that changes whenever any file's contents do. The file is
# left alone when nothing changed, so that browsers keep what they have.
#
#   cmake -DTEMPLATE=service-worker.js -DFOLDER=build/web -P offline.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB_RECURSE files RELATIVE ${FOLDER} ${FOLDER}/*)
list(REMOVE_ITEM files service-worker.js)
list(FILTER files EXCLUDE REGEX "(^|/)\\.")
list(SORT files)
set(listed "'./'")
# The worker's own code counts too: a new worker never fills an old cache.
file(SHA256 ${TEMPLATE} fingerprint)
foreach(name ${files})
  file(SHA256 ${FOLDER}/${name} hash)
  string(APPEND fingerprint "${name} ${hash}\n")
  string(APPEND listed ", '${name}'")
endforeach()
string(SHA256 version "${fingerprint}")
string(SUBSTRING ${version} 0 16 version)

file(READ ${TEMPLATE} worker)
string(REPLACE "@VERSION@" "${version}" worker "${worker}")
string(REPLACE "@FILES@" "${listed}" worker "${worker}")
set(output ${FOLDER}/service-worker.js)
if(EXISTS ${output})
  file(READ ${output} existing)
  if(existing STREQUAL worker)
    return()
  endif()
endif()
file(WRITE ${output} "${worker}")
