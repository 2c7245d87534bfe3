# The application icon, drawn from shapes by our own script at build time (the same emblem
# that ReflectionImage shows); included from the installer's CMakeLists after its target.
find_program(LUDRIN_PYTHON3 python3 REQUIRED)
set(LUDRIN_APP_ICON ${CMAKE_CURRENT_BINARY_DIR}/install_ludrin.ico)
add_custom_command(OUTPUT ${LUDRIN_APP_ICON}
    COMMAND ${LUDRIN_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/make_app_icon.py ${LUDRIN_APP_ICON}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_app_icon.py
    COMMENT "Drawing the application icon"
    VERBATIM)
target_sources(InstallLudrin PRIVATE ${LUDRIN_APP_ICON})
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/install_ludrin.rc
             APPEND PROPERTY OBJECT_DEPENDS ${LUDRIN_APP_ICON})
