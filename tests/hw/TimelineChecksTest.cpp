#include "sim/bridge/TimelineChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmt::sim::bridge {
namespace {

// One device's case as the bridge would record it, built step by step; times in ms.
struct Scenario {
    DeviceLog log;
    double endMs = 20000;

    Scenario& lines(double ms, bool dtr, bool rts) {
        log.lines.push_back({ms, dtr, rts});
        return *this;
    }
    // The kernel's pulse at an open: both lines up, dropped by the program 1.5 ms later.
    Scenario& open(double ms) { return lines(ms, true, true).lines(ms + 1.5, false, false); }
    // A frame paced 45 ms per byte, each byte echoed and answered.
    Scenario& frame(double ms, int bytes, std::uint8_t imageByte = 0) {
        for (int i = 0; i < bytes; ++i) {
            const double at = ms + 45 * i;
            const std::uint8_t value = i == 0 ? 0xA6 : i < 33 ? 0 : imageByte;
            log.bytes.push_back({at, true, value});
            log.bytes.push_back({at + 1, false, value});
            log.bytes.push_back({at + 2, false, 0});
        }
        return *this;
    }
    // The transfer engine's sequence from its start at `t0`: open at 400 ms, power at
    // 1900 ms, first byte at 3540 ms; the port closes a second after the last byte.
    Scenario& transfer(double t0, int bytes) {
        open(t0 + 400).lines(t0 + 1900, true, false).frame(t0 + 3540, bytes);
        return lines(t0 + 3540 + 45 * bytes + 1000, false, false);
    }

    std::vector<std::string> findings() const {
        std::vector<std::string> all;
        const auto power = PowerIntervals(log.lines, endMs);
        const auto exchanges = Exchanges(log.bytes);
        for (std::size_t i = 0; i < exchanges.size(); ++i) {
            const double next = i + 1 < exchanges.size() ? exchanges[i + 1].firstSent : endMs;
            for (auto& f : CheckExchange(exchanges[i], static_cast<int>(i + 1), power, log.lines,
                                         {0, next, false, i + 1 == exchanges.size()}))
                all.push_back(f);
        }
        for (auto& f : CheckLineHygiene(log, 0, endMs)) all.push_back(f);
        return all;
    }
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

struct CheckCase {
    const char* name;
    Scenario scenario;
    const char* finding;  // empty: no finding at all
};

TEST(TimelineChecks, JudgeEachExchangeAndTheLinesAfterTheCommand) {
    const double restart = 8000;
    const std::vector<CheckCase> cases = {
        {"read as the sequence runs it", Scenario().transfer(0, 33), ""},
        {"write with its restart before the next exchange",
         Scenario()
             .transfer(0, 65)
             .open(restart)
             .lines(restart + 500, true, false)
             .lines(restart + 1000, false, false)
             .transfer(restart + 2000, 33),
         ""},
        {"restart measured a little short",
         Scenario()
             .open(0)
             .lines(1900, true, false)
             .frame(3540, 65)
             .lines(7000, false, false)
             .lines(7498, true, false)
             .lines(8000, false, false)
             .transfer(restart + 2000, 33),
         ""},
        {"write without restart", Scenario().transfer(0, 65).transfer(restart + 2000, 33),
         "no restart of the meter"},
        {"the command's last write leaves the meter off", Scenario().transfer(0, 65), ""},
        {"powered again after the command's last exchange",
         Scenario().transfer(0, 65).lines(restart, true, false).lines(restart + 500, false, false),
         "powered again after the command's last exchange"},
        {"restart after too short an off time",
         Scenario()
             .open(0)
             .lines(1900, true, false)
             .frame(3540, 65)
             .lines(7000, false, false)
             .lines(7200, true, false)
             .lines(7600, false, false)
             .transfer(restart + 2000, 33),
         "switched on again after only 200 ms off"},
        {"first byte too early",
         Scenario().open(400).lines(2500, true, false).frame(3540, 33).lines(6000, false, false),
         "first byte 1040 ms after the power-up"},
        {"powered inside the off time",
         Scenario()
             .lines(1000, true, false)
             .lines(1100, false, false)
             .lines(1900, true, false)
             .frame(3540, 33)
             .lines(6000, false, false),
         "inside its 1500 ms off time"},
        {"signal during the exchange",
         Scenario()
             .open(400)
             .lines(1900, true, false)
             .frame(3540, 33)
             .lines(4000, true, true)
             .lines(6000, false, false),
         "calibration signal is on during the exchange"},
        {"meter never powered", Scenario().open(400).frame(3540, 33),
         "unpowered when the frame starts"},
        {"short frame", Scenario().transfer(0, 20), "20 bytes sent, not 33 or 65"},
        {"blip at the operation's start",
         Scenario()
             .open(100)
             .lines(101.6, false, true)
             .lines(101.7, true, true)
             .lines(106, false, false),
         "powered for 4 ms at 102 ms (a blip"},
        {"an open pulse is no blip", Scenario().open(100).open(300), ""},
        {"an open held too long", Scenario().lines(100, true, true).lines(250, false, false),
         "powered for 150 ms"},
        {"ends with the meter powered", Scenario().transfer(0, 33).lines(9000, true, false),
         "DTR (meter power) still high"},
        {"ends with the signal on", Scenario().transfer(0, 33).lines(9000, false, true),
         "RTS (signal) still high"},
    };
    for (const auto& c : cases) {
        const auto findings = c.scenario.findings();
        if (std::string(c.finding).empty())
            EXPECT_TRUE(findings.empty()) << c.name << ":\n" << Joined(findings);
        else
            EXPECT_NE(Joined(findings).find(c.finding), std::string::npos)
                << c.name << ", expected \"" << c.finding << "\" in:\n"
                << Joined(findings);
    }
}

TEST(TimelineChecks, PowerIntervalsTellTheKernelsPulseFromTheProgramsPowerUp) {
    Scenario s;
    s.open(100).lines(200, false, true).lines(300, true, true).lines(900, false, false);
    s.lines(1000, true, true);  // still high at the end
    const auto power = PowerIntervals(s.log.lines, 1050);
    ASSERT_EQ(power.size(), 3u);
    EXPECT_TRUE(power[0].openPulse);
    EXPECT_DOUBLE_EQ(power[0].length(), 1.5);
    EXPECT_FALSE(power[1].openPulse) << "DTR joins an RTS that is already high";
    EXPECT_DOUBLE_EQ(power[1].length(), 600);
    EXPECT_TRUE(power[2].openPulse);
    EXPECT_DOUBLE_EQ(power[2].to, 1050);
}

TEST(TimelineChecks, FiguresOfATransfer) {
    Scenario s;
    s.transfer(0, 33).transfer(10000, 65);
    const DeviceFigures figures = FiguresOf(s.log, 20000);
    EXPECT_EQ(figures.opens, 2);
    ASSERT_EQ(figures.startAfterPowerUp.size(), 2u);
    EXPECT_DOUBLE_EQ(figures.startAfterPowerUp[0], 1640);
    EXPECT_EQ(figures.medianPacing, 45);
    EXPECT_EQ(figures.medianOpenPulse, 1.5);
}

TEST(TimelineChecks, ExchangesSplitAtASecondOfQuietAndCarryTheWrittenImage) {
    Scenario s;
    s.frame(0, 65, 0x12).frame(5000, 33);
    const auto exchanges = Exchanges(s.log.bytes);
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0].sent.size(), 65u);
    EXPECT_EQ(exchanges[0].answered, 130);
    const auto image = WrittenImage(exchanges[0]);
    ASSERT_TRUE(image);
    EXPECT_EQ((*image)[0], 0x1212);
    EXPECT_FALSE(WrittenImage(exchanges[1]));
}

TEST(TimelineChecks, NeverPoweredAllowsOnlyOpenPulses) {
    Scenario s;
    s.open(100).open(500);
    EXPECT_TRUE(CheckNeverPowered(s.log, 0, 1000).empty());
    s.lines(600, true, false).lines(650, false, false);
    EXPECT_EQ(CheckNeverPowered(s.log, 0, 1000).size(), 1u);
}

}  // namespace
}  // namespace zmt::sim::bridge
