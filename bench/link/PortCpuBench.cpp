// CPU used by an open port: idle for 10 s, then receiving a steady 9600 bit/s stream
// (960 bytes/s, one byte at a time as a UART delivers them) for 10 s. The stream comes
// from a child process, so that only the port's work is counted.

#include "BenchPty.h"
#include "SpComPort.h"

#include <QCoreApplication>
#include <QTimer>

#include <signal.h>
#include <sys/wait.h>

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
    port.Close();
    return 0;
}
