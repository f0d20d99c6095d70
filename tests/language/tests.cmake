zmt_add_test(language_tests
    SOURCES
        AuxWindowsTest.cpp
        HelpLineBinderTest.cpp
        HelpLineTest.cpp
        LanguageTextTest.cpp
        TextsTest.cpp
    LIBS zmt_language_ui)
