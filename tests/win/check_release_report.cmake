# The release report of the built installer, held to the payload folder: the version the
# project declares, the six files in slot order with sizes and SHA-256 as CMake computes them,
# and the archive's entry count and unpacked total as Python's zipfile reads them.
#   cmake -DPACK=<ludrin-pack> -DINSTALLER=<exe> -DFOLDER=<payload folder> -DSLOTS=<a,b,...>
#         -DVERSION=<x.y.z.w> -DPYTHON=<python3> -P check_release_report.cmake

execute_process(COMMAND ${PACK} report ${INSTALLER} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ludrin-pack report failed (${result}):\n${out}${err}")
endif()

execute_process(
    COMMAND ${PYTHON} -c "import sys, zipfile
entries = zipfile.ZipFile(sys.argv[1]).infolist()
print(len(entries), sum(e.file_size for e in entries), end='')" ${FOLDER}/brvdll.zip
    RESULT_VARIABLE result OUTPUT_VARIABLE zip_counts ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "python3 cannot read ${FOLDER}/brvdll.zip:\n${err}")
endif()
separate_arguments(zip_counts)
list(GET zip_counts 0 zip_entries)
list(GET zip_counts 1 zip_unpacked)

string(REPLACE "," ";" SLOTS "${SLOTS}")
list(LENGTH SLOTS slot_count)
set(expected "ludrin-pack report 1\nfile-version\t${VERSION}\nstored-files\t${slot_count}\n")
string(APPEND expected "slot\tsize\tsha256\tname\n")
set(slot 0)
foreach(name IN LISTS SLOTS)
    file(SIZE "${FOLDER}/${name}" size)
    file(SHA256 "${FOLDER}/${name}" digest)
    string(APPEND expected "${slot}\t${size}\t${digest}\t${name}\n")
    math(EXPR slot "${slot} + 1")
endforeach()
string(APPEND expected "zip-entries\t${zip_entries}\nzip-unpacked\t${zip_unpacked}\n")

if(NOT out STREQUAL expected)
    message(FATAL_ERROR "report of ${INSTALLER}:\n${out}\nexpected from ${FOLDER}:\n${expected}")
endif()
message(STATUS "the release report agrees with ${FOLDER}")
