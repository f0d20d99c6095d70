// The interface lines as each command of the tool drives them: the meter powered only for
// the exchanges and the restarts of the operation, the signal only when calibrating, and
// both lines low once the command is over, without a power-up at its end only to be
// switched off.

#include "CliFixture.h"

namespace zmt::cli {
namespace {

struct LineChange {
    sim::SimTime at;
    bool dtr;
    bool rts;
};

struct LinesCase {
    const char* name;
    QStringList arguments;
    std::deque<QString> readings;  // the operator's readings when calibrating
    // Each exchange's own power-up, the restarts inside an operation and the short closing
    // restart before a second operation; the command's last restart is left out.
    int powerUps;
    friend void PrintTo(const LinesCase& c, std::ostream* out) { *out << c.name; }
};

class CliLinesTest : public CliTest, public ::testing::WithParamInterface<LinesCase> {};

// Every power-up lasts at least this long: no exchange or restart needs less.
constexpr auto ShortestPowerUp = std::chrono::milliseconds(300);

TEST_P(CliLinesTest, PowersTheMeterOnlyForItsExchangesAndRestarts) {
    const LinesCase& c = GetParam();
    AddMeter(WorkedExampleImage());
    WriteConfiguration("example.dig");
    std::vector<LineChange> changes;
    station->SetLineListener([&](sim::SimTime at, bool dtr, bool rts) {
        changes.push_back({at, dtr, rts});
    });
    console.input = c.readings;
    ASSERT_EQ(Run(c.arguments + QStringList{"--port", "COM1", "--lang", "en", "--quiet"}), Success)
        << Err().toStdString();
    ASSERT_FALSE(changes.empty());
    EXPECT_FALSE(changes.back().dtr) << c.name;
    EXPECT_FALSE(changes.back().rts) << c.name;
    const bool calibrating = !c.readings.empty();
    bool powered = false;
    sim::SimTime poweredSince{};
    int powerUps = 0;
    for (const LineChange& change : changes) {
        if (!calibrating) {
            EXPECT_FALSE(change.rts) << c.name << ": the signal was switched on";
        }
        if (change.dtr && !powered) {
            poweredSince = change.at;
            ++powerUps;
        } else if (!change.dtr && powered) {
            EXPECT_GE(change.at - poweredSince, ShortestPowerUp)
                << c.name << ", power-up " << powerUps;
        }
        powered = change.dtr;
    }
    EXPECT_EQ(station->powerUps(), powerUps) << c.name;
    EXPECT_EQ(powerUps, c.powerUps) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliLinesTest,
    ::testing::Values(LinesCase{"read", {"read"}, {}, 1},
                      LinesCase{"write", {"write", "example.dig"}, {}, 2},
                      LinesCase{"verify", {"verify", "example.dig"}, {}, 1},
                      LinesCase{"write and verify", {"write", "example.dig", "--verify"}, {}, 4},
                      LinesCase{"calibrate", {"calibrate", "example.dig"}, {"0", "2000"}, 8}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

}  // namespace
}  // namespace zmt::cli
