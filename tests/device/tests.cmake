# The meter's image, frames, checks and calibration arithmetic, and the operations' step
# chains without windows or timers.
zmt_add_test(device_tests
    SOURCES
        CalibrationTest.cpp
        DeviceImageTest.cpp
        DeviceTestRig.h
        ImageCheckTest.cpp
        LegacyImageTest.cpp
        LegacySequencerTest.cpp
        OperationSequencerTest.cpp
        WriteCheckTest.cpp
    LIBS zmt_operations
    TIMEOUT 60)
target_include_directories(device_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor)
