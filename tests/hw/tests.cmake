# The real-driver check's host side without a guest: QEMU's trace lines, the timeline's
# records and cases, and the judgement of frames and line timelines.
zmt_add_test(hw_tests
    SOURCES
        TraceEventTest.cpp
        TimelineTest.cpp
        TimelineChecksTest.cpp
    LIBS zmt_sim_bridge_cases)
