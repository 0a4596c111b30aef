# Writes sw.js with the list of the page's files and a hash of their contents:
#   cmake -DSITE=dir -DTEMPLATE=sw.js.in -DFILES="a;b" -P service_worker.cmake
set(contents "")
set(list "\"./\"")
foreach(name IN LISTS FILES)
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND contents "${name}:${hash}\n")
    string(APPEND list ", \"${name}\"")
endforeach()
string(SHA256 VELMORA_SITE_HASH "${contents}")
string(SUBSTRING ${VELMORA_SITE_HASH} 0 16 VELMORA_SITE_HASH)
set(VELMORA_SITE_FILES "${list}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
