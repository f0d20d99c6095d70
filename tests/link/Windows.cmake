# The exchange with the programming interface: the engine alone, and the transfer window
# with its real timers over the simulated interface and meter.
if(NOT TARGET zmt_transfer)
    return()
endif()

zmt_add_test(link_transfer_engine_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TransferEngineTest.cpp
    LIBS zmt_transfer
    TIMEOUT 60)

if(NOT TARGET zmt_link_ui OR NOT TARGET zmt_sim)
    return()
endif()
zmt_add_test(link_transfer_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TransferWindowTest.cpp
    LIBS zmt_link_ui zmt_sim
    TIMEOUT 120)
