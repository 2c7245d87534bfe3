# GoogleTest for both worlds, and the Wine harness that runs Windows test executables.

if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest as sources: build them with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(LUDRIN_GOOGLETEST_SOURCE_DIR /usr/src/googletest
        CACHE PATH "GoogleTest sources built with the cross compiler (Debian: package googletest)")
    if(NOT EXISTS ${LUDRIN_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "No GoogleTest sources in ${LUDRIN_GOOGLETEST_SOURCE_DIR}: install "
                            "Debian's googletest or set LUDRIN_GOOGLETEST_SOURCE_DIR")
    endif()
    add_subdirectory(${LUDRIN_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                     SYSTEM)
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gmock ALIAS gmock)
    endif()
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

set(LUDRIN_WINE_ROOT ${CMAKE_BINARY_DIR}/wine CACHE INTERNAL "Private Wine prefix, HOME and display of the test run")
set(LUDRIN_HARNESS ${PROJECT_SOURCE_DIR}/scripts/wine-harness)

if(CMAKE_CROSSCOMPILING)
    # One prefix, one kept-alive wineserver and one Xvfb display for the whole CTest run.
    add_test(NAME wine.start COMMAND ${LUDRIN_HARNESS} start ${LUDRIN_WINE_ROOT})
    add_test(NAME wine.stop COMMAND ${LUDRIN_HARNESS} stop ${LUDRIN_WINE_ROOT})
    set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# ludrin_add_test(<target> [ARGS ...]): one CTest test per test executable. Native
# executables run directly (every GoogleTest case listed on its own); Windows ones run
# once each under Wine, because every Wine start costs seconds.
function(ludrin_add_test target)
    cmake_parse_arguments(ARG "" "TIMEOUT" "ARGS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 600)
    endif()
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${target}
                 COMMAND ${LUDRIN_HARNESS} exec ${LUDRIN_WINE_ROOT} $<TARGET_FILE:${target}> ${ARG_ARGS})
        set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${ARG_TIMEOUT}
                                                  RESOURCE_LOCK wine_desktop)
    else()
        gtest_discover_tests(${target} EXTRA_ARGS ${ARG_ARGS} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
                             PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
endfunction()

# ludrin_gtest(<name> SOURCES ... DEPS ... [ARGS ...])
function(ludrin_gtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} ludrin_test_main GTest::gtest GTest::gmock)
    ludrin_warnings(${name})
    set(timeout_args)
    if(ARG_TIMEOUT)
        set(timeout_args TIMEOUT ${ARG_TIMEOUT})
    endif()
    ludrin_add_test(${name} ARGS ${ARG_ARGS} ${timeout_args})
endfunction()
