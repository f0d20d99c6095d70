# Tests of the editor's windows: typing into the real main window, offscreen.
if(NOT TARGET zmt_editor_ui)
    return()
endif()

zmt_add_test(editor_window_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/MainWindowEditingTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MainWindowFilesTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MainWindowPortTest.cpp
    LIBS zmt_editor_ui
    TIMEOUT 120)
