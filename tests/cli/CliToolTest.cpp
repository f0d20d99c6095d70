// The tool itself, as a script runs it: a read over the POSIX backend from the meter that
// the pseudo-terminal tool serves, on the machine's clock.
#include "CliFixture.h"
#include "WindowTestSupport.h"
#include "cli/ExitCode.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <thread>

namespace zmt::cli {
namespace {

TEST(CliTool, ReadsTheMeterOnAPseudoTerminalAsJson) {
    test::WorkingDirectory workDir;
    QProcess meter;
    meter.start(QStringLiteral(ZMT_METER_SIM_TOOL), {"--dir", QDir::currentPath(), "--port", "1"});
    QString announced;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            announced += QString::fromLocal8Bit(meter.readAllStandardOutput());
            return announced.contains("ready");
        },
        10000))
        << announced.toStdString();

    QProcess cli;
    cli.start(QStringLiteral(ZMT_CLI_TOOL), {"read", "--port", "COM1", "--json", "--lang", "en"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(cli.exitCode(), Success) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(json["exitCode"].toInt(), Success);
    // The tool's meter leaves the factory without a decimal point, bipolar, contact unused.
    EXPECT_EQ(json["configuration"]["decimalPoint"].toInt(), 4);
    EXPECT_EQ(json["configuration"]["limitMode"].toString(), "gwno");
    meter.terminate();
    meter.waitForFinished(5000);
}

// The pseudo-terminal tool's meter on COM1 of the working folder, and a journal of the test's
// own that the tool's runs share.
class CliKillTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
        meter_.start(QStringLiteral(ZMT_METER_SIM_TOOL),
                     {"--dir", QDir::currentPath(), "--port", "1"});
        QString announced;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                announced += QString::fromLocal8Bit(meter_.readAllStandardOutput());
                return announced.contains("ready");
            },
            10000))
            << announced.toStdString();
        WriteConfiguration("example.dig");
    }
    void TearDown() override {
        meter_.terminate();
        meter_.waitForFinished(5000);
        qputenv("XDG_DATA_HOME", savedDataHome_);
    }

    static std::vector<journal::JournalRecord> Records() {
        return journal::ReadJournal(journal::JournalPath()).records;
    }
    // Runs the tool to its end; its exit status.
    static int RunTool(const QStringList& arguments, QByteArray* out = nullptr) {
        QProcess cli;
        cli.start(QStringLiteral(ZMT_CLI_TOOL), arguments);
        if (!cli.waitForFinished(60000)) return -1;
        if (out) *out = cli.readAllStandardOutput();
        return cli.exitCode();
    }
    // A write, stopped by `signal` once its first record is on the disk and `then` later.
    static void StopWriteAfterItsFirstRecord(int signal, std::chrono::milliseconds then,
                                             QProcess& cli) {
        cli.start(QStringLiteral(ZMT_CLI_TOOL),
                  {"write", "--port", "COM1", "example.dig", "--quiet", "--lang", "en"});
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                const auto records = Records();
                return !records.empty() && records.back().operation == "write";
            },
            20000));
        std::this_thread::sleep_for(then);  // into the frame: nothing outside tells when
        ::kill(pid_t(cli.processId()), signal);
        ASSERT_TRUE(cli.waitForFinished(20000));
    }

    QProcess meter_;

  private:
    test::WorkingDirectory workDir_;
    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

// SIGKILL in the frame leaves the meter's former image on the disk; restore brings it back.
TEST_F(CliKillTest, AWriteKilledInItsFrameLeavesARecordThatRestoresTheMeter) {
    QProcess cli;
    StopWriteAfterItsFirstRecord(SIGKILL, std::chrono::milliseconds(2500), cli);
    EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].interrupted());
    ASSERT_TRUE(records[0].asFound);
    EXPECT_TRUE(records[0].asFoundValid);

    EXPECT_EQ(RunTool({"restore", "--port", "COM1", "--last", "--yes", "--quiet"}), Success);
    QByteArray after;
    ASSERT_EQ(RunTool({"read", "--port", "COM1", "--json", "--quiet"}, &after), Success);
    QJsonArray asFound;
    for (const std::uint16_t word : *records[0].asFound) asFound.append(int(word));
    EXPECT_EQ(QJsonDocument::fromJson(after).object()["image"].toArray(), asFound);
    EXPECT_EQ(Records().at(1).restoredFrom, records[0].id);
}

// SIGTERM ends the command as Ctrl-C does, and the record says so with the real status.
TEST_F(CliKillTest, SigtermDuringTheWriteEndsItAsCancelledWith130) {
    QProcess cli;
    StopWriteAfterItsFirstRecord(SIGTERM, std::chrono::milliseconds(2000), cli);
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), Interrupted) << cli.readAllStandardError().toStdString();
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].resultWord(), "cancelled");
    EXPECT_EQ(records[0].exitCode, Interrupted);
}

}  // namespace
}  // namespace zmt::cli
