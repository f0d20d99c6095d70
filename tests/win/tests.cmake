# The Windows parts, run under Wine: the COM names and binding files, the journal's file
# calls, the port failure causes, the communications device's refusals; and the portable
# link and journal tests, which show that the core's threads and the records behave the
# same on the Windows runtime.
zmt_add_test(win_tests
    SOURCES
        ComBindingWin32Test.cpp
        JournalFileWin32Test.cpp
        PortFailureWin32Test.cpp
        ../link/SignalBoardTest.cpp
        ../link/SpCircularBufferTest.cpp
        ../link/TransferEngineTest.cpp
        ../journal/JournalListingTest.cpp
        ../journal/JournalPairingTest.cpp
    LIBS zmt_link_ui zmt_port_catalog zmt_operation_journal zmt_sim)
