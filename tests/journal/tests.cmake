# The journal: its records, appending whole lines and reading whatever a file holds.
zmt_add_test(journal_tests
    SOURCES
        JournalFileTest.cpp
        JournalListingTest.cpp
        JournalPairingTest.cpp
        JournalReasonTextTest.cpp
        JournalRecordTest.cpp
        JournalTimeTest.cpp
    LIBS zmt_journal zmt_operation_journal)
target_include_directories(journal_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../link)
