#pragma once
// The command-line tool run in this process against the simulated interface and meter on
// the virtual clock, with a console that records what the tool says and hands it scripted
// input, as a pipe or a terminal would.

#include "MainWindowFixture.h"
#include "VirtualBench.h"
#include "WorkedExampleImage.h"
#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/ExitCode.h"
#include "cli/TerminalText.h"
#include "link/FixedPortCatalog.h"

#include <deque>

namespace zmt::cli {

class ScriptedConsole : public Console {
  public:
    QStringList out, err;
    std::deque<QString> input;
    bool terminal = false;
    int interrupts = 0;
    std::function<void(const QString&)> whileStatus;  // at each progress line, e.g. Ctrl-C

    void Print(const QString& line) override { out << line.split(u'\n'); }
    void Warn(const QString& line) override { err << line; }
    void Status(const QString& line) override {
        if (whileStatus && !line.isEmpty()) whileStatus(line);
    }
    std::optional<QString> NextLine() override {
        if (input.empty()) return std::nullopt;
        QString line = input.front();
        input.pop_front();
        return line;
    }
    bool InputEnded() const override { return input.empty(); }
    bool InputIsTerminal() const override { return terminal; }
    int Interrupts() const override { return interrupts; }
};

// The worked example of a 20 mA meter: 0 -> 0, 20 -> 2000, contact 2000/2000, "+",
// "gwnorm", decimal point code 0; `changes` replace lines of it.
inline void WriteConfiguration(const QString& path,
                               std::vector<std::pair<int, QString>> changes = {}) {
    std::vector<std::pair<int, QString>> lines{{3, "0"}, {15, "+"}};
    lines.insert(lines.end(), changes.begin(), changes.end());
    test::WriteSettings(path, lines);
}

using test::WorkedExampleImage;

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        sim.time.watchIdle([this] { return !port_ || port_->OutBufUsed() == 0; });
        sim.time.watchIdle([this] { return !probe_ || probe_->settled(); });
    }

    int Run(const QStringList& arguments) {
        const ParsedCommandLine parsed = ParseCommandLine(arguments);
        EXPECT_TRUE(parsed.options.has_value()) << parsed.error.toStdString();
        if (!parsed.options) return UsageError;
        // Never the machine's devices: the list is the test's, "simN" is simulated station N.
        // The console as the tool's terminal gets it.
        CliEnvironment environment{
            terminal,
            sim.time.clock,
            [this](const std::function<bool()>& done) { return sim.time.runUntil(done); },
            sim.deviceFactory(),
            [this](link::TSpComPort* port) { port_ = port; },
            catalog,
            [this](const QString& path) {
                return link::MakeProbePort(sim.deviceFactory(), path.mid(3).toInt());
            },
            [this](link::InterfaceProbe* probe) { probe_ = probe; }};
        return RunCli(*parsed.options, environment);
    }
    std::shared_ptr<sim::SimulatedStation> AddMeter(sim::ImageWords stored = sim::FactoryImage()) {
        station = sim.bench->addStation(1, {}, stored);
        return station;
    }
    QString Out() const { return console.out.join(u'\n'); }
    QString Err() const { return console.err.join(u'\n'); }

  public:
    test::VirtualBench sim;
    std::shared_ptr<link::FixedPortCatalog> catalog = std::make_shared<link::FixedPortCatalog>();
    test::WorkingDirectory workDir;
    ScriptedConsole console;
    TerminalConsole terminal{console};
    std::shared_ptr<sim::SimulatedStation> station;

  private:
    link::TSpComPort* port_ = nullptr;
    link::InterfaceProbe* probe_ = nullptr;
};

}  // namespace zmt::cli
