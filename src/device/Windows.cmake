# The device operations: their step chains without windows, and the two operation windows.
if(NOT TARGET zmt_transfer)
    return()
endif()

add_library(zmt_operations STATIC
    ${CMAKE_CURRENT_LIST_DIR}/OperationView.h
    ${CMAKE_CURRENT_LIST_DIR}/OperationSequencer.cpp ${CMAKE_CURRENT_LIST_DIR}/OperationSequencer.h
    ${CMAKE_CURRENT_LIST_DIR}/LegacySequencer.cpp ${CMAKE_CURRENT_LIST_DIR}/LegacySequencer.h)
target_include_directories(zmt_operations PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zmt_operations PUBLIC zmt_device_core zmt_common Qt6::Core)

if(NOT TARGET zmt_editor_ui OR NOT TARGET zmt_link_ui)
    return()
endif()

add_library(zmt_device_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/OperationWindowParts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OperationWindowParts.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMTUnit1.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMTUnit1.h
    ${CMAKE_CURRENT_LIST_DIR}/ZMTU1.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMTU1.h)
target_include_directories(zmt_device_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zmt_device_ui PUBLIC zmt_operations zmt_editor_ui zmt_link_ui Qt6::Widgets)
