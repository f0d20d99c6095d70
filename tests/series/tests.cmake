# Series programming: the loop over the tool's meter session on the simulated bench and the
# virtual clock, without a window.
zmt_add_test(series_tests
    SOURCES
        SeriesLoopTest.cpp
        SeriesTestSupport.h
    LIBS zmt_series_station zmt_cli zmt_sim
    TIMEOUT 120)
