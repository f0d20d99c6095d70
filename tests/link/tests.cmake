# The serial link: ring buffer, signal board, POSIX backend and port component over
# pseudo-terminals and fakes, the hand-off to the user-interface thread, the exchange
# with the programming interface (the engine alone, and with the transfer window over the
# simulated interface and meter), the device list, the COM bindings and the search for
# the interface.
zmt_add_test(link_tests
    SOURCES
        ComLinkBindingTest.cpp
        ComTargetTest.cpp
        DeviceHoldersTest.cpp
        FakeDevice.h
        HoldingProcess.h
        InterfaceProbeTest.cpp
        PortCatalogTest.cpp
        PortFailureCauseTest.cpp
        PosixTerminalDeviceTest.cpp
        PtyPorts.h
        ReadOnlyFolder.h
        SignalBoardTest.cpp
        SpCircularBufferTest.cpp
        SpComPortTest.cpp
        SpSafeSyncTest.cpp
        TransferEngineTest.cpp
        TransferWindowTest.cpp
    LIBS zmt_link_ui zmt_interface_probe zmt_sim
    TIMEOUT 180)
