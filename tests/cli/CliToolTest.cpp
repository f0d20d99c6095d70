// The tool itself, as a script runs it: a read over the POSIX backend from the meter that
// the pseudo-terminal tool serves, on the machine's clock.
#include "WindowTestSupport.h"
#include "cli/ExitCode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

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

}  // namespace
}  // namespace zmt::cli
