// Ports that go away or belong to someone else, over the POSIX terminal backend: a USB
// adapter pulled out while the meter is powered, and a second instance of the program
// started on the port the first one uses. (What an idle port or a hung-up device costs in
// CPU is a figure of link_cpu_bench.)
#include "FaultFixture.h"

#include "device/DeviceImage.h"
#include "link/ZMTCOMU1.h"
#include "sim/InterfaceAndMeter.h"
#include "sim/tool/PseudoTerminalServer.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QSignalSpy>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace zmt::faults {
namespace {

const QStringList kCannotOpenCom1 = {QString::fromUtf8("COM1  kann nicht geöffnet werden"),
                                     QString::fromUtf8("COM1 (eventuell bereits belegt)")};

int CountOf(const QStringList& lines, const QString& line) {
    return static_cast<int>(lines.count(line));
}

// A pseudo-terminal whose far end the test holds in place of com1: closing that end is the
// adapter pulled out of its socket, and its device goes away. The link then leads nowhere,
// not to the closed pseudo-terminal: the system hands its number to the next one opened,
// perhaps by a test beside this one, and the port would open again.
class UnpluggablePort {
  public:
    UnpluggablePort() : master_(::posix_openpt(O_RDWR | O_NOCTTY)) {
        EXPECT_GE(master_, 0);
        EXPECT_EQ(::grantpt(master_), 0);
        EXPECT_EQ(::unlockpt(master_), 0);
        QFile::remove("com1");
        EXPECT_EQ(::symlink(::ptsname(master_), "com1"), 0);
    }
    ~UnpluggablePort() { Unplug(); }
    UnpluggablePort(const UnpluggablePort&) = delete;
    UnpluggablePort& operator=(const UnpluggablePort&) = delete;

    void Unplug() {
        if (master_ < 0) return;
        ::close(master_);
        master_ = -1;
        QFile::remove("com1");
        EXPECT_TRUE(QFile::link("unplugged-adapter", "com1"));
    }

  private:
    int master_;
};

// What the user does next: both steps reopen the port.
struct AfterUnplug {
    const char* name;
    const char* action;
};

void PrintTo(const AfterUnplug& c, std::ostream* os) {
    *os << c.name;
}

const AfterUnplug kAfterUnplug[] = {
    {"ChoosesThePortAgain", "COM11"},
    {"LoadsAConfiguration", "Laden1"},
};

class UnpluggedPortTest : public ProgramFixture,
                          public ::testing::WithParamInterface<AfterUnplug> {};

TEST_P(UnpluggedPortTest, NoHangAndTheNextPortStepSaysSo) {
    test::WriteSettings("initdig.txt", {});
    UnpluggablePort adapter;
    Start({});
    ShowAndOpen();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return control<QCheckBox>("switchsignal")->isEnabled(); }, 5000));
    ASSERT_TRUE(control<QCheckBox>("switchpower")->isChecked());  // the meter is powered
    form().ClearMem();

    adapter.Unplug();

    test::WriteSettings("other.dig", {});
    dialogs.openName = QFileInfo("other.dig").absoluteFilePath();
    control<QAction>(GetParam().action)->trigger();
    EXPECT_EQ(CountOf(form().MemLines(), kCannotOpenCom1[0]), 1)
        << form().MemLines().join('|').toStdString();
    EXPECT_EQ(CountOf(form().MemLines(), kCannotOpenCom1[1]), 1);
    EXPECT_FALSE(program->RS232().IsOpen());

    // Every later step tries again, and says so again.
    control<QCheckBox>("switchsignal")->click();
    EXPECT_EQ(CountOf(form().MemLines(), kCannotOpenCom1[0]), 2);
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(UserSteps, UnpluggedPortTest, ::testing::ValuesIn(kAfterUnplug),
                         [](const auto& info) { return std::string(info.param.name); });

// The simulated interface and meter served on a pseudo-terminal linked as com1, from a
// thread of the test; the meter counts as always powered.
class PtyMeter {
  public:
    explicit PtyMeter(const sim::ImageWords& stored) : line_({}, stored), server_(line_) {
        std::string error;
        EXPECT_TRUE(server_.open(error) && server_.createLink("com1", error)) << error;
        serving_ = std::thread([this] {
            server_.serve(
                {.stopFd = stop_}, [this](const std::string&) { ready_ = true; },
                [](const std::string&) {});
        });
    }
    ~PtyMeter() {
        const std::uint64_t one = 1;
        EXPECT_EQ(::write(stop_, &one, sizeof one), static_cast<ssize_t>(sizeof one));
        serving_.join();
        ::close(stop_);
    }
    PtyMeter(const PtyMeter&) = delete;
    PtyMeter& operator=(const PtyMeter&) = delete;

    bool ready() const { return ready_; }

  private:
    sim::InterfaceAndMeter line_;
    sim::PseudoTerminalServer server_;
    int stop_ = ::eventfd(0, EFD_CLOEXEC);
    std::atomic<bool> ready_{false};
    std::thread serving_;
};

// A meter set up by someone else, so that a read can tell its image from any other.
const sim::ImageWords kMeterImage = {65533, 100,  8233,  2049, 0xC0,  2,     3438,  3538,
                                     7,     9450, 12000, 9000, 11500, 11400, 11500, 1};

// What the second instance does while the first one exchanges bytes with the meter.
void TryThePortAgain(TForm1& second) {
    second.findChild<QAction*>("COM11")->trigger();  // closes and reopens
    auto* power = second.findChild<QCheckBox*>("switchpower");
    ASSERT_TRUE(power->isEnabled());
    power->click();
    emit second.findChild<QMenu*>("Kommunikation1")->aboutToShow();  // probes every port
}

TEST_F(ProgramFixture, ASecondInstanceCannotOpenThePortAndLeavesTheFirstOnesExchangeAlone) {
    test::WriteSettings("initdig.txt", {});
    PtyMeter meter(kMeterImage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return meter.ready(); }, 5000));
    Start({});
    ShowAndOpen();

    std::unique_ptr<ZMT6v01> second = MakeProgram({});
    second->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->Form1().MemLines().size() >= 2; }, 5000));
    EXPECT_EQ(second->Form1().MemLines(), kCannotOpenCom1);
    EXPECT_FALSE(second->RS232().IsOpen());
    EXPECT_TRUE(program->RS232().IsOpen());

    // The first instance reads the meter; the second one keeps trying meanwhile.
    PrepareReadFrame(program->device, program->transfer);
    link::TransferEngine& engine = program->transfers();
    QSignalSpy ended(&engine, &link::TransferEngine::exchangeEnded);
    engine.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.timer(engine.Timer1).enabled(); }, 10000));
    TryThePortAgain(second->Form1());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 20000));

    EXPECT_EQ(CheckExchange(program->transfer), ExchangeCheck::Passed);
    EXPECT_EQ(program->transfer.ReceiveCount, ReadFrameExpectedCount);
    TakeReceivedData(program->device, program->transfer);
    EXPECT_EQ(program->device.DeviceImage, kMeterImage);
    const QStringList secondMemo = second->Form1().MemLines();
    EXPECT_EQ(CountOf(secondMemo, kCannotOpenCom1[0]), 3) << secondMemo.join('|').toStdString();
    EXPECT_FALSE(second->Form1().findChild<QAction*>("COM11")->isEnabled());  // probe failed
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
    second->Form1().close();
}

}  // namespace
}  // namespace zmt::faults
