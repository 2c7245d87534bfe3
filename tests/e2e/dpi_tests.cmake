# The main window at 144 dpi, in its own Wine world (prefix, server and display under
# build/.../wine144) so the tests at 96 dpi keep theirs. One installer start checks it all.
set(LUDRIN_WINE144_ROOT ${CMAKE_BINARY_DIR}/wine144)
add_test(NAME wine144.start
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine_dpi_root.sh ${LUDRIN_HARNESS}
                 ${LUDRIN_WINE144_ROOT} 144)
add_test(NAME wine144.stop COMMAND ${LUDRIN_HARNESS} stop ${LUDRIN_WINE144_ROOT})
set_tests_properties(wine144.start PROPERTIES FIXTURES_SETUP wine144 TIMEOUT 300)
set_tests_properties(wine144.stop PROPERTIES FIXTURES_CLEANUP wine144)

add_executable(ludrin_e2e_dpi_tests main_window_dpi_e2e_test.cpp)
target_link_libraries(ludrin_e2e_dpi_tests PRIVATE ludrin_e2e_driver ludrin_app ludrin_test_main
                                                   GTest::gtest)
ludrin_warnings(ludrin_e2e_dpi_tests)
add_dependencies(ludrin_e2e_dpi_tests InstallLudrin)
add_test(NAME ludrin_e2e_dpi_tests
         COMMAND ${LUDRIN_HARNESS} exec ${LUDRIN_WINE144_ROOT} $<TARGET_FILE:ludrin_e2e_dpi_tests>
                 --installer=$<TARGET_FILE:InstallLudrin> --dpi=144)
set_tests_properties(ludrin_e2e_dpi_tests PROPERTIES FIXTURES_REQUIRED wine144 TIMEOUT 300)
