# The payload inside the built installer, as the build machine's ludrin-pack sees it: it
# verifies (every file unpacks and re-packs to the same bytes), and the listing holds the
# payload folder's six files in slot order with their sizes.
#   cmake -DPACK=<ludrin-pack> -DINSTALLER=<exe> -DFOLDER=<payload folder> -DSLOTS=<a,b,...>
#         -P check_embedded_payload.cmake

execute_process(COMMAND ${PACK} verify ${INSTALLER} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ludrin-pack verify failed (${result}):\n${out}${err}")
endif()

execute_process(COMMAND ${PACK} list ${INSTALLER} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ludrin-pack list failed (${result}):\n${out}${err}")
endif()

# Rows: slot, size, packed, blocks, escape, table, name (tab-separated).
string(REPLACE "\n" ";" lines "${out}")
set(listed)
foreach(line IN LISTS lines)
    if(line MATCHES "^([0-9]+)\t([0-9]+)\t[^\t]*\t[^\t]*\t[^\t]*\t[^\t]*\t(.*)$")
        list(APPEND listed "${CMAKE_MATCH_1}|${CMAKE_MATCH_2}|${CMAKE_MATCH_3}")
    endif()
endforeach()

string(REPLACE "," ";" SLOTS "${SLOTS}")
set(expected)
set(slot 0)
foreach(name IN LISTS SLOTS)
    file(SIZE "${FOLDER}/${name}" size)
    list(APPEND expected "${slot}|${size}|${name}")
    math(EXPR slot "${slot} + 1")
endforeach()

if(NOT listed STREQUAL expected)
    string(REPLACE ";" "\n  " listed_text "${listed}")
    string(REPLACE ";" "\n  " expected_text "${expected}")
    message(FATAL_ERROR "stored files (slot|size|name):\n  ${listed_text}\n"
                        "payload folder ${FOLDER}:\n  ${expected_text}")
endif()
list(LENGTH listed count)
message(STATUS "${count} stored files agree with ${FOLDER}")
