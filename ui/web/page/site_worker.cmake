# Writes the site's offline worker: the list of the site's files, and a version hashed from them all.
#   cmake -DFOLDER=<site> -DFILES=<a|b|...> -DTEMPLATE=<worker.js.in> -DPROJECT_NAME=<name> -P site_worker.cmake
string(REPLACE "|" ";" files "${FILES}")
list(SORT files)
set(contents "")
set(GLOUTO_SITE_FILES "\"./\"")
foreach(file IN LISTS files)
    file(SHA256 ${FOLDER}/${file} hash)
    string(APPEND contents "${file} ${hash}\n")
    string(APPEND GLOUTO_SITE_FILES ", \"${file}\"")
endforeach()
string(SHA256 GLOUTO_SITE_HASH "${contents}")
string(SUBSTRING ${GLOUTO_SITE_HASH} 0 16 GLOUTO_SITE_HASH)
configure_file(${TEMPLATE} ${FOLDER}/worker.js @ONLY)
