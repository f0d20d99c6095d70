// The pseudo-terminal tool, spawned as its own process, against the POSIX backend: the
// port component opens the comN link the tool made in the working directory, and the
// search for the interface finds it there.

#include "PortExchange.h"
#include "SimTestSupport.h"
#include "link/InterfaceProbe.h"
#include "sim/MeterImage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zmt::sim {
namespace {

constexpr int ToolPort = 3;

// Every COM link of the working directory exists before a port opens, so no test ever
// falls back to the machine's own serial devices.
class ToolInTempDir : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    QProcess tool;
    QString output;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (int n = 1; n <= 4; ++n)
            if (n != ToolPort) QFile::link("/dev/null", dir.filePath(QString("com%1").arg(n)));
        QDir::setCurrent(dir.path());
        tool.start(ZMT_METER_SIM_TOOL,
                   {"--dir", dir.path(), "--port", QString::number(ToolPort), "--input", "5"});
        ASSERT_TRUE(tool.waitForStarted(5000));
        ASSERT_TRUE(waitForOutput("ready")) << output.toStdString();
    }

    void TearDown() override {
        if (tool.state() != QProcess::NotRunning) {
            tool.kill();
            tool.waitForFinished(5000);
        }
        QDir::setCurrent(previousDir);
    }

    bool waitForOutput(const QString& word) {
        for (int round = 0; round < 100 && !output.contains(word); ++round) {
            tool.waitForReadyRead(100);
            output += QString::fromLocal8Bit(tool.readAllStandardOutput());
        }
        return output.contains(word);
    }

    QString linkPath() const { return dir.filePath(QString("com%1").arg(ToolPort)); }
};

TEST_F(ToolInTempDir, AnnouncesThePseudoTerminalAndTheModemLineLimit) {
    EXPECT_TRUE(output.contains("/dev/pts/")) << output.toStdString();
    EXPECT_TRUE(output.contains("always powered")) << output.toStdString();
    EXPECT_TRUE(std::filesystem::is_symlink(linkPath().toStdString()));
}

TEST_F(ToolInTempDir, ServesReadAndWriteFramesToThePosixBackend) {
    link::TSpComPort port;
    test::PortExchange exchange(port);
    test::ConfigureLikeTransferWindow(port, ToolPort);
    port.Open();
    const auto read = exchange.run(test::ReadFrame());
    ASSERT_EQ(read.size(), 66u);
    EXPECT_EQ(test::ImageFromAnswers(read), FactoryImage());
    EXPECT_EQ(exchange.run(test::WriteFrame(test::SampleImage())).size(), 130u);
    EXPECT_TRUE(waitForOutput("stored image: 65533 100 8233")) << output.toStdString();
    EXPECT_EQ(test::ImageFromAnswers(exchange.run(test::ReadFrame())), test::SampleImage());
    port.Close();
}

// The search for the interface, as a technician would try it without hardware.
TEST_F(ToolInTempDir, TheInterfaceProbeFindsTheToolsInterface) {
    link::InterfaceProbe probe(link::TerminalProbePorts(), SteadyClock());
    link::PortEntry entry;
    entry.devicePath = linkPath();
    probe.start({entry});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !probe.running(); }, 5000));
    ASSERT_EQ(probe.results().size(), 1u);
    EXPECT_EQ(probe.results()[0].outcome, link::ProbeOutcome::Found);
}

// A series needs meters taken off and plugged in: a line on standard input and a signal do
// it, and the meter answers again once plugged in.
TEST_F(ToolInTempDir, TheMeterIsTakenOffAndPluggedInByALineOrASignal) {
    struct Way {
        const char* name;
        std::function<void(QProcess&)> unplug;
        std::function<void(QProcess&)> plug;
    };
    const auto line = [](const char* text) {
        return [text](QProcess& process) { process.write(text); };
    };
    const auto usr1 = [](QProcess& process) { ::kill(pid_t(process.processId()), SIGUSR1); };
    const std::vector<Way> ways = {
        {"standard input", line("unplug\n"), line("plug\n")},
        {"signal", usr1, usr1},
    };
    link::TSpComPort port;
    test::PortExchange exchange(port);
    test::ConfigureLikeTransferWindow(port, ToolPort);
    port.Open();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        output.clear();
        way.unplug(tool);
        ASSERT_TRUE(waitForOutput("meter taken off the interface")) << output.toStdString();
        // The interface alone echoes; no meter answers, and the exchange stops short.
        EXPECT_LT(exchange.run(test::ReadFrame()).size(), 66u);
        way.plug(tool);
        ASSERT_TRUE(waitForOutput("meter plugged into the interface")) << output.toStdString();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return exchange.run(test::ReadFrame()).size() == 66u; }, 10000));
    }
    port.Close();
}

TEST(MeterSimTool, HelpNamesTheWaysToUnplugTheMeter) {
    QProcess tool;
    tool.start(ZMT_METER_SIM_TOOL, {"--help"});
    ASSERT_TRUE(tool.waitForFinished(5000));
    const QByteArray help = tool.readAllStandardError();
    EXPECT_TRUE(help.contains("\"unplug\"") && help.contains("USR1")) << help.toStdString();
}

TEST_F(ToolInTempDir, StopsCleanlyOnTerminateAndRemovesItsLink) {
    tool.terminate();
    ASSERT_TRUE(tool.waitForFinished(5000));
    output += QString::fromLocal8Bit(tool.readAllStandardOutput());
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(output.contains("stopped")) << output.toStdString();
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(linkPath().toStdString())));
}

TEST(MeterSimTool, RefusesUnknownOptions) {
    QProcess tool;
    tool.start(ZMT_METER_SIM_TOOL, {"--baud", "9600"});
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(tool.readAllStandardError().contains("unknown option --baud"));
}

}  // namespace
}  // namespace zmt::sim
