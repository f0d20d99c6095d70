# The device operations' step chains, without windows or timers.
if(NOT TARGET zmt_operations)
    return()
endif()

zmt_add_test(device_operation_sequencer_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/OperationSequencerTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LegacySequencerTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DeviceTestRig.h
    LIBS zmt_operations
    TIMEOUT 60)
