// The command line: what each command takes, and what is refused with a usage error.
#include "cli/CliOptions.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace zmt::cli {
namespace {

TEST(CliOptions, TakesEachCommandWithItsOptions) {
    auto parse = [](const QStringList& arguments) { return ParseCommandLine(arguments).options; };
    const auto read =
        parse({"read", "--port", "COM2", "--from=a.dig", "--output", "b.dig", "--json"});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->command, Command::Read);
    EXPECT_EQ(read->port, "COM2");
    EXPECT_EQ(read->from, "a.dig");
    EXPECT_EQ(read->output, "b.dig");
    EXPECT_TRUE(read->json);
    const auto write =
        parse({"--lang", "de", "write", "x.dig", "--port", "/dev/ttyUSB0", "--verify"});
    ASSERT_TRUE(write);
    EXPECT_EQ(write->file, "x.dig");
    EXPECT_TRUE(write->verify);
    EXPECT_EQ(write->language, 0);
    const auto find = parse({"find", "--yes", "COM1", "/dev/ttyUSB0"});
    ASSERT_TRUE(find);
    EXPECT_EQ(find->findPorts, QStringList({"COM1", "/dev/ttyUSB0"}));
    EXPECT_EQ(parse({"show", "a.dig", "--quiet"})->command, Command::Show);
    EXPECT_EQ(parse({"verify", "--help"})->command, Command::Help);
    EXPECT_EQ(parse({"--version"})->command, Command::Version);
    const auto series = parse({"series", "a.dig", "--port", "COM1", "--count", "100000"});
    ASSERT_TRUE(series);
    EXPECT_EQ(series->count, 100000);
}

TEST(CliOptions, RefusesWhatItCannotRun) {
    const std::pair<QStringList, const char*> cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"read", "--port", "COM1", "--baud", "9600"}, "unknown option --baud"},
        {{"read"}, "read needs --port PORT"},
        {{"write", "--port", "COM1"}, "write needs a configuration FILE"},
        {{"show", "a.dig", "b.dig"}, "unexpected argument 'b.dig'"},
        {{"read", "--port", "COM1", "--verify"}, "--verify does not go with read"},
        {{"show", "a.dig", "--port", "COM1"}, "--port does not go with show"},
        {{"show", "a.dig", "--lang", "fr"}, "--lang takes de or en, not 'fr'"},
        {{"read", "--port"}, "--port needs a value"},
        {{"report", "a.dig"}, "report needs --output SHEET.pdf"},
        // A second value would silently win over the first, a second flag hides a typing error.
        {{"read", "--port", "COM1", "--port", "COM2"}, "--port given twice"},
        {{"read", "--port=COM1", "--port", "COM1"}, "--port given twice"},
        {{"show", "a.dig", "--lang", "de", "--lang=en"}, "--lang given twice"},
        {{"series", "a.dig", "--port", "COM1", "--count", "2", "--count", "3"},
         "--count given twice"},
        {{"show", "a.dig", "--json", "--json"}, "--json given twice"},
        {{"restore", "--port", "COM1", "--last", "--last"}, "--last given twice"},
        {{"series", "a.dig", "--port", "COM1", "--count", "100001"},
         "--count takes a count from 1 to 100000, not '100001'"},
        {{"series", "a.dig", "--port", "COM1", "--count", "4294967297"},
         "--count takes a count from 1 to 100000, not '4294967297'"},
        {{"series", "a.dig", "--port", "COM1", "--count", "0"},
         "--count takes a count from 1 to 100000, not '0'"},
        {{"series", "a.dig", "--port", "COM1", "--count", "-3"},
         "--count takes a count from 1 to 100000, not '-3'"},
        {{"restore", "--port", "COM1", "--id", "x", "--last"},
         "restore takes --id ID or --last, not both"},
        {{"restore", "--port", "COM1", "--last", "--id=x"},
         "restore takes --id ID or --last, not both"},
    };
    for (const auto& [arguments, error] : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(arguments);
        EXPECT_FALSE(parsed.options.has_value()) << arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.error, QString::fromUtf8(error));
    }
}

}  // namespace
}  // namespace zmt::cli
