# The simulated interface and meter: the model itself, the display against the editor's
# prediction and the device words, the real port component over it, and the tool that
# serves it on a pseudo-terminal against the POSIX backend.
zmt_add_test(sim_tests
    SOURCES
        DisplayConsistencyTest.cpp
        DisplayModelTest.cpp
        InterfaceAndMeterTest.cpp
        MeterProtocolTest.cpp
        PortConformanceTest.cpp
        PortExchange.h
        PtyToolTest.cpp
        SimTestSupport.h
        SimulatedPortTest.cpp
        ToolOptionsTest.cpp
    LIBS zmt_sim zmt_sim_tool zmt_device_core zmt_port zmt_interface_probe
    TIMEOUT 120)
add_dependencies(sim_tests zmt4824-meter-sim)
target_compile_definitions(sim_tests PRIVATE ZMT_METER_SIM_TOOL="$<TARGET_FILE:zmt4824-meter-sim>")
