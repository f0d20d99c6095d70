# Program start and the error display, and the demo: the virtual meter and the program's
# windows writing to the simulated meter.
zmt_add_test(app_tests
    SOURCES
        BeepTest.cpp
        ErrorDisplayTest.cpp
        JournalWindowTest.cpp
        ProgramStartTest.cpp
        demo/AccessibleNamesTest.cpp
        demo/DemoProgramTest.cpp
        demo/DigitCellsTest.cpp
        demo/MeterPanelLogicTest.cpp
        demo/VirtualMeterWindowTest.cpp
    LIBS zmt_demo
    TIMEOUT 120)
target_include_directories(app_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor)

# The desktop entry and the metainfo pass the desktop's validators (skipped without them).
add_test(NAME DesktopFiles.Validate
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/demo/validate-desktop-files.sh ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(DesktopFiles.Validate PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60 LABELS app)

# `cmake --install` into a fresh prefix puts everything in place and the launcher starts
# the program in its per-user directory.
add_test(NAME DesktopFiles.InstallIntoPrefix
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/demo/install-into-prefix.sh ${PROJECT_BINARY_DIR})
set_tests_properties(DesktopFiles.InstallIntoPrefix PROPERTIES TIMEOUT 120 LABELS app)
