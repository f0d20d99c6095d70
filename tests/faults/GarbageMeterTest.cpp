// A line that garbles what comes back from the interface and the meter, between the
// simulated station and the real port component: a read or a write through the real
// operation window ends red with the check that failed, and nothing reaches the meter.
#include "FaultFixture.h"

#include "device/ZMTUnit1.h"
#include "link/ZMTCOMU1.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zmt::faults {
namespace {

enum class Garble {
    MeterAnswers,  // the echo survives, every answer of the meter is noise
    Everything,    // nothing that comes back is what was sent or answered
};

// Noise that differs from the byte it replaces (the mask is never 0 in an exchange).
std::uint8_t Noise(std::uint8_t byte, int position) {
    return static_cast<std::uint8_t>(byte ^ ((position * 0x3D + 0x68) & 0xFF));
}

// The station's port with a bad line: received bytes are garbled by their position since
// the last purge of the input, which the transfer window makes just before it sends.
class GarbledPort : public link::PlatformDevice {
  public:
    GarbledPort(std::unique_ptr<link::PlatformDevice> station, Garble garble)
        : station_(std::move(station)), garble_(garble) {}

    int read(std::uint8_t* buffer, int count) override {
        const int taken = station_->read(buffer, count);
        for (int i = 0; i < taken; ++i) buffer[i] = Garbled(buffer[i], position_++);
        return taken;
    }
    bool purge(std::uint32_t flags) override {
        if (flags & link::purge::RxClear) position_ = 0;
        return station_->purge(flags);
    }

    link::OpenResult open(int number) override { return station_->open(number); }
    bool isOpen() const override { return station_->isOpen(); }
    bool setTimeouts() override { return station_->setTimeouts(); }
    bool setQueueSizes(int in, int out) override { return station_->setQueueSizes(in, out); }
    bool setEventMask(std::uint32_t mask) override { return station_->setEventMask(mask); }
    bool setCommState(const link::CommState& s) override { return station_->setCommState(s); }
    bool getCommState(link::CommState& s) override { return station_->getCommState(s); }
    bool lineFunction(link::LineFunction f) override { return station_->lineFunction(f); }
    bool status(link::CommStatus& status) override { return station_->status(status); }
    int write(const std::uint8_t* bytes, int count) override {
        return station_->write(bytes, count);
    }
    link::WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override {
        return station_->waitEvent(timeoutMs, mask);
    }
    void cancelWait() override { station_->cancelWait(); }
    void close() override { station_->close(); }

  private:
    std::uint8_t Garbled(std::uint8_t byte, int position) const {
        const bool meterAnswer = position % 2 == 1;
        return garble_ == Garble::Everything || meterAnswer ? Noise(byte, position) : byte;
    }

    std::unique_ptr<link::PlatformDevice> station_;
    const Garble garble_;
    std::atomic<int> position_{0};
};

struct GarbageCase {
    const char* name;
    const char* button;  // the main window's button that starts the operation
    Garble garble;
    const char* verdict;  // the last line of the operation window
};

void PrintTo(const GarbageCase& c, std::ostream* os) {
    *os << c.name;
}

const GarbageCase kGarbageCases[] = {
    {"ReadWithGarbledAnswers", "Readbutt", Garble::MeterAnswers, "Fehler auf Übertragungsstrecke"},
    {"ReadWithNothingRecognisable", "Readbutt", Garble::Everything,
     "kein Interface gefunden auf COM1"},
    {"WriteWithGarbledAnswers", "Skalbutt", Garble::MeterAnswers, "Fehler auf Übertragungsstrecke"},
    {"WriteWithNothingRecognisable", "Skalbutt", Garble::Everything,
     "kein Interface gefunden auf COM1"},
};

// The meter's own configuration, which no garbage may replace.
const sim::ImageWords kMetersImage = {0, 0,     8192,  2049,  0,     0,     4047,  4047,
                                      0, 10000, 12000, 10000, 12000, 12000, 12000, 1};

class GarbageMeterTest : public ProgramFixture, public ::testing::WithParamInterface<GarbageCase> {
  protected:
    Factory GarbledFactory(Garble garble) {
        return [bench = sim.bench, garble] {
            return std::make_unique<GarbledPort>(std::make_unique<sim::SimulatedPort>(bench),
                                                 garble);
        };
    }
    // Starts the operation and, inside its modal window, goes on and waits for the verdict.
    void RunOperation(const char* button) {
        TProgramForm& window = program->ProgramForm();
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return window.isVisible(); }, 5000)) GoOnAndJudge(window);
            window.close();
            EXPECT_TRUE(WaitFor([&] { return !window.isVisible(); }));
        });
        control<QPushButton>(button)->click();
    }
    void GoOnAndJudge(TProgramForm& window) {
        window.findChild<QPushButton*>("weiterbutton")->click();
        const auto* again = window.findChild<QPushButton*>("nochmalbutton");
        settled = WaitFor([&] { return again->isVisibleTo(&window); });
        if (!settled && whenStuck) {
            whenStuck();  // lets the exchange end, so that the window can close
            EXPECT_TRUE(WaitFor([&] { return again->isVisibleTo(&window); }));
        }
        const auto* info = window.findChild<QPlainTextEdit*>("Info");
        infoLines = info->toPlainText().split('\n');
        infoColour = info->palette().color(QPalette::Base);
    }

    std::function<void()> whenStuck;  // runs when the operation does not settle by itself
    bool settled = false;
    QStringList infoLines;
    QColor infoColour;
};

TEST_P(GarbageMeterTest, EndsRedWithTheFailedCheckAndWritesNothing) {
    const GarbageCase& c = GetParam();
    UseVirtualTime();
    auto station = sim.bench->addStation(1, {}, kMetersImage);
    test::WriteSettings("initdig.txt", {});
    Start(GarbledFactory(c.garble));
    ShowAndOpen();
    const ConfigModel before = program->model;

    RunOperation(c.button);
    ASSERT_TRUE(settled);
    EXPECT_EQ(infoLines.value(infoLines.size() - 1), QString::fromUtf8(c.verdict))
        << infoLines.join('|').toStdString();
    EXPECT_EQ(infoColour, QColor(Qt::red));
    EXPECT_FALSE(sim.time.runUntil([&] { return station->imagesStored() > 0; },
                                   std::chrono::minutes(1)));  // no write follows
    EXPECT_EQ(station->storedImage(), kMetersImage);
    EXPECT_EQ(program->model, before);  // nothing of the garbage reached the editor
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lines, GarbageMeterTest, ::testing::ValuesIn(kGarbageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Another device on the port that never stops talking (a receiver that streams its
// sentences): a noise byte about every millisecond, as fast as 9600 bit/s carries them.
class StreamingDevice : public link::PlatformDevice {
  public:
    explicit StreamingDevice(std::shared_ptr<std::atomic<bool>> silenced)
        : silenced_(std::move(silenced)) {}

    link::OpenResult open(int number) override {
        open_ = number == 1;
        since_ = Clock::now();
        return open_ ? link::OpenResult{}
                     : link::OpenResult{link::OpenFailure::NoSuchDevice, 2, {}};
    }
    bool isOpen() const override { return open_; }
    bool setTimeouts() override { return open_; }
    bool setQueueSizes(int, int) override { return open_; }
    bool setEventMask(std::uint32_t) override { return open_; }
    bool setCommState(const link::CommState& state) override { return state_ = state, open_; }
    bool getCommState(link::CommState& state) override { return state = state_, open_; }
    bool lineFunction(link::LineFunction) override { return open_; }
    bool status(link::CommStatus& status) override {
        status = {};
        status.bytesWaiting = static_cast<std::uint32_t>(Waiting());
        return open_;
    }
    int read(std::uint8_t* buffer, int count) override {
        const int taken = std::min(count, Waiting());
        for (int i = 0; i < taken; ++i) buffer[i] = Noise(0x24, sent_ + i);
        sent_ += taken;
        return taken;
    }
    int write(const std::uint8_t*, int count) override { return count; }
    bool purge(std::uint32_t) override {
        sent_ = Arrived();
        return open_;
    }
    link::WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override {
        std::unique_lock lock(waitMutex_);
        const auto pause = std::chrono::milliseconds(std::min(timeoutMs, 5));
        if (woken_.wait_for(lock, pause, [this] { return cancelled_; })) {
            cancelled_ = false;
            return link::WaitResult::Cancelled;
        }
        mask = Waiting() > 0 ? link::ev::RxChar : 0;
        return mask ? link::WaitResult::Event : link::WaitResult::TimedOut;
    }
    void cancelWait() override {
        std::lock_guard lock(waitMutex_);
        cancelled_ = true;
        woken_.notify_all();
    }
    void close() override { open_ = false; }

  private:
    using Clock = std::chrono::steady_clock;
    int Arrived() const {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since_.load())
                .count());
    }
    int Waiting() const { return open_ && !*silenced_ ? std::max(0, Arrived() - sent_.load()) : 0; }

    std::shared_ptr<std::atomic<bool>> silenced_;
    std::atomic<bool> open_{false};
    std::atomic<Clock::time_point> since_{Clock::now()};
    std::atomic<int> sent_{0};
    link::CommState state_;
    std::mutex waitMutex_;
    std::condition_variable woken_;
    bool cancelled_ = false;
};

// The operation window waits for the end of an exchange before it closes: were the end
// only a second without a byte, a stream would keep the program in the window for ever.
// The stream runs on the machine's clock.
TEST_F(GarbageMeterTest, AStreamingDeviceOnThePortStillEndsTheRead) {
    test::WriteSettings("initdig.txt", {});
    auto silenced = std::make_shared<std::atomic<bool>>(false);
    Start([silenced] { return std::make_unique<StreamingDevice>(silenced); });
    ShowAndOpen();
    whenStuck = [silenced] { *silenced = true; };
    RunOperation("Readbutt");
    EXPECT_TRUE(settled) << "the exchange ran until the device fell silent";
    EXPECT_EQ(infoColour, QColor(Qt::red));
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

}  // namespace
}  // namespace zmt::faults
