# ludrin-pack as a program of the build machine. A cross build cannot run its own Windows
# build of the tool, so it builds this same source tree once more with the host compiler,
# only the ludrin-pack target, into <build>/host-tools. A native Windows build uses its own
# target directly.
#
# Sets LUDRIN_PACK_COMMAND (the program to run) and LUDRIN_PACK_DEPENDS (what a custom
# command running it must depend on).

if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    set(LUDRIN_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
    set(LUDRIN_PACK_COMMAND ${LUDRIN_HOST_TOOLS_DIR}/tools/ludrin-pack/ludrin-pack)
    ExternalProject_Add(ludrin_pack_host
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${LUDRIN_HOST_TOOLS_DIR}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DLUDRIN_BUILD_TESTS=OFF
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${LUDRIN_HOST_TOOLS_DIR} --target ludrin-pack
        # The host build decides itself whether the packer's sources changed; an unchanged
        # tool keeps its time stamp, so the form stream is not rebuilt for nothing.
        BUILD_ALWAYS TRUE
        BUILD_BYPRODUCTS ${LUDRIN_PACK_COMMAND}
        INSTALL_COMMAND ""
        TEST_COMMAND ""
        USES_TERMINAL_BUILD TRUE)
    set(LUDRIN_PACK_DEPENDS ludrin_pack_host ${LUDRIN_PACK_COMMAND})
else()
    set(LUDRIN_PACK_COMMAND $<TARGET_FILE:ludrin-pack>)
    set(LUDRIN_PACK_DEPENDS ludrin-pack)
endif()
