# The configuration sheet: its contents read back from the PDF with pdftotext, the PDF
# file's name and atomic writing, and the file menu's two items offscreen.
zmt_add_test(sheet_tests
    SOURCES
        ConfigurationSheetTest.cpp
        SheetJournalTest.cpp
        SheetPdfTest.cpp
        SheetWindowTest.cpp
    LIBS zmt_sheet_ui)
target_include_directories(sheet_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor)
