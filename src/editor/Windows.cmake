# The editor's windows: main window, first-start port choice and the empty Form3.
# They need the port component and the settings files; until those exist there is nothing
# to build here.
if(NOT TARGET zmt_link OR NOT EXISTS ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.h)
    return()
endif()

add_library(zmt_editor_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ComSelectUnit.cpp ${CMAKE_CURRENT_LIST_DIR}/ComSelectUnit.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMT1.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMT1.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMT1Dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMT1Dialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMT1Fields.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMT1Fields.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMT1Layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZMT1Pictures.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMT1Pictures.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMTdefs.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMTdefs.h)
target_include_directories(zmt_editor_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zmt_editor_ui PUBLIC zmt_editor_core zmt_language zmt_link zmt_common
                                           Qt6::Widgets)
