// CPU used by an open port: idle for 10 s, then receiving a steady 9600 bit/s stream
// (960 bytes/s, one byte at a time as a UART delivers them) for 10 s, then after its peer
// has hung up (an adapter pulled out) for 10 s; and how often the write thread tries a
// device that takes no byte. The stream comes from a child process, so that only the
// port's work is counted.

#include "BenchPty.h"
#include "link/SpComPort.h"

#include <QCoreApplication>
#include <QTimer>

#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

using namespace zmt::link;
using namespace zmt::link::bench;

constexpr int Runs = 3;
constexpr int SecondsPerRun = 10;

[[noreturn]] void StreamBytes(int master) {
    timespec next{};
    ::clock_gettime(CLOCK_MONOTONIC, &next);
    for (std::uint8_t byte = 0;; ++byte) {
        next.tv_nsec += 1'041'667;  // 1/960 s
        if (next.tv_nsec >= 1'000'000'000) {
            next.tv_nsec -= 1'000'000'000;
            ++next.tv_sec;
        }
        ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        if (::write(master, &byte, 1) < 0) ::_exit(0);
    }
}

// Percent of one core used by this process while the event loop runs for the period.
double CpuPercentOver(int seconds) {
    const double cpuBefore = ProcessCpuSeconds();
    const double wallBefore = NowMicroseconds();
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    const double wall = (NowMicroseconds() - wallBefore) / 1e6;
    return 100.0 * (ProcessCpuSeconds() - cpuBefore) / wall;
}

// A device that says it can take bytes but takes none: the write thread must not spin.
class StalledDevice : public PlatformDevice {
  public:
    explicit StalledDevice(std::atomic<long>& writeCalls) : writeCalls_(writeCalls) {}
    OpenResult open(int) override {
        open_ = true;
        return {};
    }
    bool isOpen() const override { return open_; }
    bool setTimeouts() override { return true; }
    bool setQueueSizes(int, int) override { return true; }
    bool setEventMask(std::uint32_t) override { return true; }
    bool setCommState(const CommState&) override { return true; }
    bool getCommState(CommState&) override { return true; }
    bool lineFunction(LineFunction) override { return true; }
    bool status(CommStatus& status) override {
        status = {};
        return true;
    }
    int read(std::uint8_t*, int) override { return 0; }
    int write(const std::uint8_t*, int) override {
        ++writeCalls_;
        return 0;
    }
    bool purge(std::uint32_t) override { return true; }
    WaitResult waitEvent(int timeoutMs, std::uint32_t&) override {
        std::unique_lock lock(mutex_);
        if (woken_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [this] { return cancelled_; })) {
            cancelled_ = false;
            return WaitResult::Cancelled;
        }
        return WaitResult::TimedOut;
    }
    void cancelWait() override {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        woken_.notify_all();
    }
    void close() override { open_ = false; }

  private:
    std::atomic<long>& writeCalls_;
    std::atomic<bool> open_{false};
    std::mutex mutex_;
    std::condition_variable woken_;
    bool cancelled_ = false;
};

void ReportStalledDevice() {
    std::atomic<long> writeCalls{0};
    TSpComPort port(nullptr, "stalled",
                    [&writeCalls] { return std::make_unique<StalledDevice>(writeCalls); });
    port.setComNumber(1);
    port.Open();
    std::vector<std::uint8_t> block(100, 1);
    port.WriteData(block.data(), static_cast<int>(block.size()));
    std::vector<double> calls, cpu;
    for (int run = 0; run < Runs; ++run) {
        const long before = writeCalls;
        cpu.push_back(CpuPercentOver(SecondsPerRun));
        calls.push_back(static_cast<double>(writeCalls - before) / SecondsPerRun);
    }
    PrintRounds("Device that takes no byte, write tries per second", calls, "/s");
    PrintRounds("Device that takes no byte, CPU (% of one core per 10 s run)", cpu, "%");
    port.Close();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchPty pty;
    TSpComPort port;
    port.setBaudRate(br9600);
    port.setComNumber(1);
    port.setEventThreadPriority(tpHighest);
    port.setWriteThreadPriority(tpHigher);
    port.Loaded();
    long received = 0, notifications = 0;
    port.OnDataRecived = [&](TSpComPort* sender, int) {
        ++notifications;
        std::uint8_t sink[512];
        if (const int n = std::min(sender->InBufUsed(), 512); n > 0) {
            sender->ReadData(sink, n);
            received += n;
        }
    };
    port.Open();

    std::vector<double> idle, streaming;
    for (int run = 0; run < Runs; ++run) idle.push_back(CpuPercentOver(SecondsPerRun));
    PrintRounds("Open idle port, CPU (% of one core per 10 s run)", idle, "%");

    const pid_t child = ::fork();
    if (child == 0) StreamBytes(pty.master());
    for (int run = 0; run < Runs; ++run) streaming.push_back(CpuPercentOver(SecondsPerRun));
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    PrintRounds("Port receiving 9600 bit/s, CPU (% of one core per 10 s run)", streaming, "%");
    std::printf("received %ld bytes in %ld notifications\n", received, notifications);

    pty.hangUp();
    std::vector<double> hungUp;
    for (int run = 0; run < Runs; ++run) hungUp.push_back(CpuPercentOver(SecondsPerRun));
    PrintRounds("Port after its peer hung up, CPU (% of one core per 10 s run)", hungUp, "%");
    port.Close();
    ReportStalledDevice();
    return 0;
}
