# cmake -DROOT=<source dir> -P CheckLayers.cmake
# Refuses an include that points up the layers of docs/architecture.md.
# A folder's rank is below; an include may name its own rank or lower.
set(ranks
    "db/fb=0" "core=1" "db=2"
    "users=3" "definitions=4" "storage=5" "reports=6" "texts=7" "registers=8" "lists=9"
    "tools=30"
    "kit=20"
    "db/ui=21" "users/ui=22" "definitions/ui=23" "storage/ui=24" "reports/ui=25"
    "texts/ui=26" "registers/ui=27" "lists/ui=28"
    "shell=30" "shell/ui=31")
# tools sit beside the shell's logic: they link no widgets (kelma-admin proves it).
foreach(pair ${ranks})
    string(REPLACE "=" ";" kv "${pair}")
    list(GET kv 0 k)
    list(GET kv 1 v)
    set("rank_${k}" ${v})
endforeach()

# The layer of a path below src/ (or tools/): db/fb, a folder, or folder/ui.
function(layer_of path out)
    string(REGEX MATCH "^[^/]+" top "${path}")
    if(path MATCHES "^db/fb/")
        set(key "db/fb")
    elseif(path MATCHES "^[^/]+/ui/")
        set(key "${top}/ui")
    else()
        set(key "${top}")
    endif()
    set(${out} "${key}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
     "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
foreach(source ${sources})
    if(source MATCHES "^tools/")
        set(from "tools")
    else()
        string(REGEX REPLACE "^src/" "" rel "${source}")
        layer_of("${rel}" from)
    endif()
    if(NOT DEFINED "rank_${from}")
        string(APPEND faults "${source}: folder '${from}' has no layer in cmake/CheckLayers.cmake\n")
        continue()
    endif()
    file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+/[^\"]+\"")
    foreach(line ${lines})
        string(REGEX REPLACE ".*include[ \t]+\"([^\"]+)\".*" "\\1" target "${line}")
        if(NOT EXISTS "${ROOT}/src/${target}")
            continue() # a tool's own header, or a system one
        endif()
        layer_of("${target}" to)
        if(NOT DEFINED "rank_${to}")
            string(APPEND faults "${source}: '${target}' is in folder '${to}' that has no layer\n")
        elseif(rank_${to} GREATER rank_${from})
            string(APPEND faults "${source}: ${from} may not include ${target} (${to} is above it)\n")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "Upward includes:\n${faults}")
endif()
list(LENGTH sources n)
message(STATUS "Layers: ${n} files, no upward include")
