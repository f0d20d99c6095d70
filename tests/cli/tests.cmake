# The command-line tool: its options, its commands in this process against the simulated
# meter on the virtual clock, and the tool itself against the pseudo-terminal tool.
zmt_add_test(cli_tests
    SOURCES
        CliCommandsTest.cpp
        CliFixture.h
        CliLinesTest.cpp
        CliJournalTest.cpp
        CliJsonTest.cpp
        CliOptionsTest.cpp
        CliPortDoctorTest.cpp
        CliPortsTest.cpp
        CliSeriesTest.cpp
        CliTerminalTest.cpp
        CliToolTest.cpp
    LIBS zmt_cli zmt_sim zmt_editor_ui
    TIMEOUT 120)
target_include_directories(cli_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor
                                             ${CMAKE_CURRENT_LIST_DIR}/../link)
target_compile_definitions(cli_tests PRIVATE
    ZMT_METER_SIM_TOOL="$<TARGET_FILE:zmt4824-meter-sim>"
    ZMT_CLI_TOOL="$<TARGET_FILE:zmt4824-cli>")
add_dependencies(cli_tests zmt4824-meter-sim zmt4824-cli)
