#include "sim/bridge/Timeline.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zmt::sim::bridge {
namespace {

TEST(Timeline, RecordsSurviveTheirText) {
    const std::vector<Record> records = {
        {12.5, "ftdi", "lines", {1, 0}, {}},
        {13.25, "uart", "sent", {0xA6}, {}},
        {14, "uart", "answered", {0x00}, {}},
        {15, "ftdi", "reset", {}, {}},
        {16, "console", "begin", {}, "ftdi-read-json"},
        {17, "console", "end", {3}, "ftdi-read-json"},
        {18, "ftdi", "stored", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 65535}, {}},
    };
    for (const auto& record : records) {
        const auto text = FormatRecord(record);
        const auto back = ParseRecord(text);
        ASSERT_TRUE(back) << text;
        EXPECT_DOUBLE_EQ(back->ms, record.ms) << text;
        EXPECT_EQ(back->source, record.source) << text;
        EXPECT_EQ(back->kind, record.kind) << text;
        EXPECT_EQ(back->values, record.values) << text;
        EXPECT_EQ(back->name, record.name) << text;
    }
    EXPECT_EQ(FormatRecord(records[1]), "13.250 uart sent a6");
}

TEST(Timeline, RefusesBrokenLines) {
    for (const char* line : {"", "12", "12 ftdi", "x ftdi lines 1 0", "12 ftdi sent",
                             "12 ftdi sent a6 00", "12 ftdi lines 1 zz", "12 console begin"})
        EXPECT_FALSE(ParseRecord(line)) << line;
}

// A case starts with the lines and the image that its device had before it.
TEST(Timeline, SplitsIntoCasesWithTheStateBeforeEach) {
    std::istringstream text(
        "1.000 ftdi stored 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"
        "2.000 ftdi lines 1 1\n"
        "3.000 console begin first\n"
        "4.000 ftdi lines 0 0\n"
        "5.000 ftdi sent a6\n"
        "5.500 ftdi answered a6\n"
        "6.000 console end first 0\n"
        "7.000 uart lines 1 0\n"
        "8.000 console begin second\n"
        "9.000 ftdi unplug\n");
    const std::string console =
        "boot\n@@hw begin first\nline one\nline two\n@@hw end first 0\n@@hw begin second\n";
    const auto cases = SplitIntoCases(ReadRecords(text), console, {"ftdi", "uart"});
    ASSERT_EQ(cases.size(), 2u);

    const CaseLog& first = cases[0];
    EXPECT_EQ(first.name, "first");
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_DOUBLE_EQ(first.endMs, 6.0);
    EXPECT_EQ(first.output, "line one\nline two\n");
    const DeviceLog& ftdi = first.devices.at("ftdi");
    ASSERT_EQ(ftdi.lines.size(), 2u);
    EXPECT_TRUE(ftdi.lines[0].dtr && ftdi.lines[0].rts);
    EXPECT_DOUBLE_EQ(ftdi.lines[0].ms, 3.0);
    EXPECT_FALSE(ftdi.lines[1].dtr);
    ASSERT_EQ(ftdi.bytes.size(), 2u);
    EXPECT_TRUE(ftdi.bytes[0].fromGuest);
    EXPECT_FALSE(ftdi.bytes[1].fromGuest);
    ASSERT_TRUE(ftdi.stored);
    EXPECT_EQ((*ftdi.stored)[15], 16);

    const CaseLog& second = cases[1];
    EXPECT_FALSE(second.exitCode) << "never ended";
    EXPECT_TRUE(second.devices.at("uart").lines[0].dtr);
    EXPECT_EQ(second.devices.at("ftdi").unplugAt, 9.0);
}

}  // namespace
}  // namespace zmt::sim::bridge
