#include "sim/tool/ToolOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace zmt::sim {

namespace {

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

using Setter = std::function<std::string(ToolOptions&, const std::string&)>;

struct OptionRule {
    const char* name;
    Setter apply;  // returns an error text, empty when the value was taken
};

std::string SetPort(ToolOptions& o, const std::string& v) {
    double n = 0;
    if (!ParseNumber(v, n) || n != std::floor(n) || n < 1 || n > 99)
        return "--port needs a number from 1 to 99";
    o.port = static_cast<int>(n);
    return {};
}

std::string SetReal(double& target, const std::string& v, const char* what) {
    double n = 0;
    if (!ParseNumber(v, n)) return std::string(what) + " needs a number";
    target = n;
    return {};
}

std::string SetType(ToolOptions& o, const std::string& v) {
    const double fullScale = FullScaleOfType(v);
    if (fullScale == 0) return "--type needs one of 10mA, 20mA, 100mA, 1V, 10V, 50V";
    o.analog.fullScale = fullScale;
    return {};
}

const std::array<OptionRule, 6>& Rules() {
    static const std::array<OptionRule, 6> rules{{
        {"--dir",
         [](ToolOptions& o, const std::string& v) {
             o.dir = v;
             return v.empty() ? std::string("--dir needs a folder") : std::string();
         }},
        {"--port", SetPort},
        {"--input",
         [](ToolOptions& o, const std::string& v) { return SetReal(o.input, v, "--input"); }},
        {"--offset-error",
         [](ToolOptions& o, const std::string& v) {
             return SetReal(o.analog.offsetError, v, "--offset-error");
         }},
        {"--gain-error",
         [](ToolOptions& o, const std::string& v) {
             return SetReal(o.analog.gainError, v, "--gain-error");
         }},
        {"--type", SetType},
    }};
    return rules;
}

const OptionRule* FindRule(const std::string& name) {
    const auto& rules = Rules();
    const auto found = std::find_if(rules.begin(), rules.end(),
                                    [&name](const OptionRule& r) { return name == r.name; });
    return found == rules.end() ? nullptr : &*found;
}

}  // namespace

ToolOptionsOutcome ParseToolOptions(const std::vector<std::string>& args) {
    ToolOptionsOutcome outcome;
    for (std::size_t i = 0; i < args.size() && outcome.ok(); ++i) {
        std::string name = args[i];
        std::string value;
        const bool joined = name.find('=') != std::string::npos;
        if (joined) {
            value = name.substr(name.find('=') + 1);
            name.resize(name.find('='));
        }
        if (name == "--help" || name == "-h") {
            outcome.options.help = true;
            continue;
        }
        const OptionRule* rule = FindRule(name);
        if (!rule) {
            outcome.error = "unknown option " + name;
        } else if (!joined && i + 1 >= args.size()) {
            outcome.error = name + " needs a value";
        } else {
            outcome.error = rule->apply(outcome.options, joined ? value : args[++i]);
        }
    }
    return outcome;
}

std::string ToolUsage() {
    return "Usage: zmt4824-meter-sim [OPTION]...\n"
           "Serves a simulated programming interface with a ZMT 48x24 meter on a\n"
           "pseudo-terminal and links DIR/comN to it.\n"
           "\n"
           "Options:\n"
           "  --dir DIR              folder of the link comN (default: the current folder)\n"
           "  --port N               N of comN, 1 to 99 (default: 1)\n"
           "  --input VALUE          the meter's input while the calibration signal is off,\n"
           "                         in the unit of its type (default: 0)\n"
           "  --offset-error COUNTS  counts the meter reads at zero input (default: 0)\n"
           "  --gain-error FACTOR    factor on the counts it reads (default: 1)\n"
           "  --type TYPE            10mA, 20mA, 100mA, 1V, 10V or 50V (default: 20mA)\n"
           "  -h, --help             show this text\n"
           "\n"
           "Each option takes its value also as --name=value.\n"
           "\n"
           "While it serves, the meter is taken off the interface and plugged in again\n"
           "(as between the units of a series) by the line \"unplug\" or \"plug\" on\n"
           "standard input, or by each signal USR1 (kill -USR1 PID). INT, TERM and HUP\n"
           "stop it.\n";
}

double FullScaleOfType(std::string type) {
    std::erase_if(type, [](unsigned char c) { return std::isspace(c); });
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::array<std::pair<const char*, double>, 6> types{
        {{"10ma", 10}, {"20ma", 20}, {"100ma", 100}, {"1v", 1}, {"10v", 10}, {"50v", 50}}};
    for (const auto& [text, fullScale] : types)
        if (type == text) return fullScale;
    return 0;
}

}  // namespace zmt::sim
