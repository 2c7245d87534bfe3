# Reproducible release builds: the same commit and payload give the same bytes, whatever the
# folder and the time of the build.
#
# - The linker's PE time stamp is the only thing that differed between two builds; mingw-w64's
#   ld writes the link time unless told not to (the field is then zero). Every Windows
#   image gets it, the demo payload programs too, since they end up inside the installer.
# - Source and build folders are mapped to fixed names in anything the compiler records
#   (__FILE__, debug information), so that no absolute build path reaches an image. Debug
#   builds keep the real paths for the debugger.
# - Nothing else carries a date: the resources are compiled without one, the demo archive
#   and the icon are generated with fixed contents. GCC honours SOURCE_DATE_EPOCH should
#   __DATE__ ever be used.

if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-Wl,--no-insert-timestamp)
endif()

set(ludrin_prefix_maps -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                       -ffile-prefix-map=${PROJECT_BINARY_DIR}/=build/)
add_compile_options("$<$<AND:$<NOT:$<CONFIG:Debug>>,$<COMPILE_LANGUAGE:C,CXX>>:${ludrin_prefix_maps}>")
