#include "sim/tool/ToolOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmt::sim {
namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::string> args;
    bool ok;
    std::string dir;
    int port;
    double input, offset, gain, fullScale;
};

TEST(ToolOptions, ParsesTheCommandLine) {
    const std::vector<OptionsCase> cases = {
        {"defaults", {}, true, ".", 1, 0, 0, 1, 20},
        {"dir and port", {"--dir", "/tmp/x", "--port", "3"}, true, "/tmp/x", 3, 0, 0, 1, 20},
        {"joined values", {"--port=4", "--input=12.5"}, true, ".", 4, 12.5, 0, 1, 20},
        {"errors",
         {"--offset-error", "-3", "--gain-error", "1.005"},
         true,
         ".",
         1,
         0,
         -3,
         1.005,
         20},
        {"type with blank", {"--type", "50 V"}, true, ".", 1, 0, 0, 1, 50},
        {"type lower case", {"--type", "100ma"}, true, ".", 1, 0, 0, 1, 100},
        {"port zero", {"--port", "0"}, false, ".", 1, 0, 0, 1, 20},
        {"port fraction", {"--port", "1.5"}, false, ".", 1, 0, 0, 1, 20},
        {"port text", {"--port", "COM1"}, false, ".", 1, 0, 0, 1, 20},
        {"missing value", {"--input"}, false, ".", 1, 0, 0, 1, 20},
        {"number with junk", {"--input", "4mA"}, false, ".", 1, 0, 0, 1, 20},
        {"unknown type", {"--type", "5A"}, false, ".", 1, 0, 0, 1, 20},
        {"unknown option", {"--baud", "9600"}, false, ".", 1, 0, 0, 1, 20},
        {"empty dir", {"--dir="}, false, "", 1, 0, 0, 1, 20},
    };
    for (const auto& c : cases) {
        const auto outcome = ParseToolOptions(c.args);
        EXPECT_EQ(outcome.ok(), c.ok) << c.name << ": " << outcome.error;
        if (!c.ok) continue;
        EXPECT_EQ(outcome.options.dir, c.dir) << c.name;
        EXPECT_EQ(outcome.options.port, c.port) << c.name;
        EXPECT_DOUBLE_EQ(outcome.options.input, c.input) << c.name;
        EXPECT_DOUBLE_EQ(outcome.options.analog.offsetError, c.offset) << c.name;
        EXPECT_DOUBLE_EQ(outcome.options.analog.gainError, c.gain) << c.name;
        EXPECT_DOUBLE_EQ(outcome.options.analog.fullScale, c.fullScale) << c.name;
    }
}

TEST(ToolOptions, HelpIsAskedFor) {
    EXPECT_TRUE(ParseToolOptions({"--help"}).options.help);
    EXPECT_TRUE(ParseToolOptions({"-h"}).options.help);
    EXPECT_FALSE(ParseToolOptions({}).options.help);
}

// The usage text is the manual page's source (help2man): every option the tool takes is
// described there, under the heading help2man makes its OPTIONS section of.
TEST(ToolOptions, UsageDescribesEveryOptionItTakes) {
    const std::string usage = ToolUsage();
    EXPECT_EQ(usage.rfind("Usage: zmt4824-meter-sim ", 0), 0u) << usage;
    EXPECT_NE(usage.find("\nOptions:\n"), std::string::npos) << usage;
    const std::vector<std::vector<std::string>> options = {
        {"--dir", "/tmp"},        {"--port", "2"},   {"--input", "4"}, {"--offset-error", "-2"},
        {"--gain-error", "1.01"}, {"--type", "10V"}, {"--help"}};
    for (const auto& args : options) {
        EXPECT_TRUE(ParseToolOptions(args).ok()) << args[0];
        EXPECT_NE(usage.find(" " + args[0] + " "), std::string::npos) << args[0];
    }
}

}  // namespace
}  // namespace zmt::sim
