# The serial link: ring buffer, signal board, POSIX backend and port component over
# pseudo-terminals and fakes, the hand-off to the user-interface thread, and the exchange
# with the programming interface (the engine alone, and with the transfer window over the
# simulated interface and meter).
zmt_add_test(link_tests
    SOURCES
        FakeDevice.h
        PosixTerminalDeviceTest.cpp
        PtyPorts.h
        SignalBoardTest.cpp
        SpCircularBufferTest.cpp
        SpComPortTest.cpp
        SpSafeSyncTest.cpp
        TransferEngineTest.cpp
        TransferWindowTest.cpp
    LIBS zmt_link_ui zmt_sim
    TIMEOUT 180)
