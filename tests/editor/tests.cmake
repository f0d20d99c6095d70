# The editor's rules, numbers and settings files without a window, the port controller,
# and the main window typed into, offscreen.
zmt_add_test(editor_tests
    SOURCES
        DialogFolderTest.cpp
        FieldRulesTest.cpp
        FocusHistoryTest.cpp
        Form1ControlsTest.cpp
        MainWindowEditingTest.cpp
        MainWindowFilesTest.cpp
        MainWindowKeyboardTest.cpp
        MainWindowPortTest.cpp
        MaskedEditTest.cpp
        NumbersTest.cpp
        PortAssignFormTest.cpp
        PortAssignmentTest.cpp
        PortControllerTest.cpp
        PortFailureLinesTest.cpp
        RecalculateTest.cpp
        SettingsFileTest.cpp
        SettingsLinesTest.cpp
    LIBS zmt_editor_ui zmt_sim)
