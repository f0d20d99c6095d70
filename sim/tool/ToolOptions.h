#pragma once

#include "sim/DisplayModel.h"

#include <string>
#include <vector>

namespace zmt::sim {

// Command line of the pseudo-terminal meter tool.
struct ToolOptions {
    std::string dir = ".";  // where the link comN is made
    int port = 1;           // N of comN
    double input = 0;       // input value while the signal is off, in the unit of the type
    MeterAnalog analog;     // type (full scale) and the meter's own errors
    bool help = false;
};

struct ToolOptionsOutcome {
    ToolOptions options;
    std::string error;  // empty when the arguments were understood
    bool ok() const { return error.empty(); }
};

// Arguments without the program name; "--name value" and "--name=value" both work.
ToolOptionsOutcome ParseToolOptions(const std::vector<std::string>& args);

std::string ToolUsage();

// Full scale of a meter type text such as "20mA", "20 mA" or "10V"; 0 when unknown.
double FullScaleOfType(std::string type);

}  // namespace zmt::sim
