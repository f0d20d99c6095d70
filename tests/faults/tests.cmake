# The whole program under the faults a user meets first: full disks, settings files that are
# no files, vanishing and contested ports, garbage from the meter.
zmt_add_test(fault_tests
    SOURCES
        FaultFixture.h
        FileFaultTest.cpp
        GarbageMeterTest.cpp
        PortFaultTest.cpp
    LIBS zmt_app zmt_sim zmt_sim_tool
    TIMEOUT 300)
target_include_directories(fault_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../editor)
