# The exchange with the programming interface (headless) and the transfer window over it.
add_library(zmt_transfer STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TransferEngine.cpp ${CMAKE_CURRENT_LIST_DIR}/TransferEngine.h)
target_include_directories(zmt_transfer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zmt_transfer PUBLIC zmt_link zmt_common Qt6::Core)

add_library(zmt_link_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ZMTCOMU1.cpp ${CMAKE_CURRENT_LIST_DIR}/ZMTCOMU1.h)
target_include_directories(zmt_link_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zmt_link_ui PUBLIC zmt_transfer zmt_link Qt6::Widgets)
