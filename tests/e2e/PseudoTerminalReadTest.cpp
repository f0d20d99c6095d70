// One read over the real serial path: the meter tool serves the simulated interface on a
// pseudo-terminal, com1 in the working directory leads to it, and the program opens it
// with its POSIX terminal backend.
#include "OperationFixture.h"

#include <QDir>
#include <QProcess>

namespace zmt::e2e {
namespace {

// On the machine's clock: the tool's meter runs in real time.
class PseudoTerminalReadTest : public OperationTest {
  protected:
    PseudoTerminalReadTest() : OperationTest(Timing::Real) {}
    void TearDown() override {
        OperationTest::TearDown();
        tool.terminate();
        tool.waitForFinished(5000);
    }
    // Starts the tool on com1 of the working directory and waits until it serves.
    bool StartMeterTool() {
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral(ZMT_METER_SIM_TOOL),
                   {"--dir", QDir::currentPath(), "--port", "1"});
        return WaitFor([&] { return ToolOutput().contains("ready"); });
    }
    QString ToolOutput() {
        output += QString::fromLocal8Bit(tool.readAll());
        return output;
    }

    QProcess tool;
    QString output;
};

TEST_F(PseudoTerminalReadTest, ReadsTheMeterThroughThePosixBackend) {
    ASSERT_TRUE(StartMeterTool()) << ToolOutput().toStdString();
    StartProgramWith(1, {});
    QStringList info;
    RunOperation("Readbutt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitUntilSettled());
        info = InfoLines();
    });
    EXPECT_EQ(info, QStringList({"received configuration transfered to desktop", ""}));
    // The tool's meter leaves the factory without a decimal point, bipolar, contact unused.
    EXPECT_EQ(program->model.DecimalPoint, 4);
    EXPECT_EQ(program->model.polaritaet, "+ / -");
    EXPECT_EQ(program->model.LimitMode, "gwno");
    EXPECT_EQ(text("Skalout2").trimmed(), "2000");
    // The image was written back once.
    EXPECT_TRUE(WaitFor([&] { return ToolOutput().contains("in use after the next power-up"); }))
        << ToolOutput().toStdString();
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

}  // namespace
}  // namespace zmt::e2e
