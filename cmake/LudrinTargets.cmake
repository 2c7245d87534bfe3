# Shared target settings: warnings are errors on both toolchains, and each library
# picks its platform backend by target, never by #ifdef inside a function.

function(ludrin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# ludrin_library(<name> [SOURCES ...] [POSIX ...] [WIN32 ...] [DEPS ...] [WIN32_DEPS ...])
function(ludrin_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;POSIX;WIN32;DEPS;WIN32_DEPS" ${ARGN})
    set(sources ${ARG_SOURCES})
    if(WIN32)
        list(APPEND sources ${ARG_WIN32})
    else()
        list(APPEND sources ${ARG_POSIX})
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(WIN32)
        target_link_libraries(${name} PUBLIC ${ARG_WIN32_DEPS})
        # Unicode Win32 API everywhere; Windows 10 API level for per-monitor DPI.
        target_compile_definitions(${name} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    endif()
    ludrin_warnings(${name})
endfunction()
