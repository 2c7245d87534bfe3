# A signed installer: scripts/sign with a throw-away certificate, checked by osslsigncode and
# ludrin-pack; then the signed copy starts under Wine and shows its window.
set(signed_dir ${CMAKE_CURRENT_BINARY_DIR}/signed)
add_test(NAME signed_installer.make
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_signed_installer.sh
                 ${PROJECT_SOURCE_DIR}/scripts/sign ${LUDRIN_PACK_COMMAND}
                 $<TARGET_FILE:InstallLudrin> ${signed_dir})
set_tests_properties(signed_installer.make PROPERTIES FIXTURES_SETUP signed_installer TIMEOUT 120)
add_test(NAME signed_installer.starts
         COMMAND ${LUDRIN_HARNESS} exec ${LUDRIN_WINE_ROOT} $<TARGET_FILE:ludrin_e2e_tests>
                 --installer=${signed_dir}/InstallLudrin.exe --waiter=$<TARGET_FILE:process_waiter>
                 --gtest_filter=MainWindowE2E.LabelsShowTheStartUpTexts:MainWindowE2E.CloseButtonEndsTheProgramWithExitCodeZero)
set_tests_properties(signed_installer.starts PROPERTIES
                     FIXTURES_REQUIRED "wine;signed_installer" RESOURCE_LOCK wine_desktop TIMEOUT 300)
