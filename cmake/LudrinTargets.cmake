# Shared target settings: warnings are errors on both toolchains, and each library
# picks its platform backend by target, never by #ifdef inside a function.

function(ludrin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# The Windows settings every Windows target shares: the Unicode API, the Windows 10 API
# level (per-monitor DPI), and the wide entry points (wmain, wWinMain) that every program
# here has, so that arguments arrive as UTF-16 whatever the code page. Empty elsewhere.
add_library(ludrin_windows INTERFACE)
if(WIN32)
    target_compile_definitions(ludrin_windows INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                        NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    target_link_options(ludrin_windows INTERFACE -municode)
endif()

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
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} ludrin_windows)
    if(WIN32)
        target_link_libraries(${name} PUBLIC ${ARG_WIN32_DEPS})
    endif()
    ludrin_warnings(${name})
endfunction()
