# End to end: the program's real windows, timers and port component against the simulated
# interface and meter, and once over the pseudo-terminal tool and the POSIX backend.
zmt_add_test(e2e_tests
    SOURCES
        CalibrationTest.cpp
        FailureTest.cpp
        JournalRestoreTest.cpp
        LegacyWindowTest.cpp
        OperationFixture.h
        PseudoTerminalReadTest.cpp
        ReadWriteTest.cpp
        SeriesWindowTest.cpp
    LIBS zmt_app zmt_sim
    TIMEOUT 300)
target_include_directories(e2e_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor)
target_compile_definitions(e2e_tests PRIVATE ZMT_METER_SIM_TOOL="$<TARGET_FILE:zmt4824-meter-sim>")
add_dependencies(e2e_tests zmt4824-meter-sim)
