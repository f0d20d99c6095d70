// How long `zmt4824-cli write` takes against the simulated meter, compared with the least
// the pacing allows: the tool in this process, the meter on the machine's clock.
//
//   cli_write_bench [runs] [--verify]      (default 5 runs of a plain write)
//
// The floor of a write: two exchanges (33 and 65 bytes sent), each with its 3500 ms
// start-up, 40 ms and the byte's wire time at 9600 bit/s before every byte sent, and its
// final 1000 ms of silence; after each, the power cycle of 1200 ms and 500 ms. With
// --verify, the restart after the write (its shortest power-up) and the read-back's
// exchange with its power cycle follow. The echoes and answers are left out, so the ratio
// errs on the high side.

#include "Median.h"
#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "link/MeterStartup.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

constexpr double kByteMs = 10 * 1000.0 / 9600;  // start, 8 data bits, stop
constexpr double kPerByteSentMs = 40 + kByteMs;
constexpr double kExchangeMs = 3500 + 1000;
constexpr double kPowerCycleMs = 1200 + 500;
constexpr double kWriteFloorMs = 2 * kExchangeMs + 2 * kPowerCycleMs + (33 + 65) * kPerByteSentMs;
constexpr double kVerifyFloorMs = kWriteFloorMs + zmt::link::ShortestPowerUpMs + kExchangeMs +
                                  kPowerCycleMs + 33 * kPerByteSentMs;

class SilentConsole : public zmt::cli::Console {
  public:
    void Print(const QString&) override {}
    void Warn(const QString& line) override { std::fprintf(stderr, "%s\n", qPrintable(line)); }
    void Status(const QString&) override {}
    std::optional<QString> NextLine() override { return std::nullopt; }
    bool InputEnded() const override { return true; }
    bool InputIsTerminal() const override { return false; }
    int Interrupts() const override { return 0; }
};

void WriteWorkedExample(const char* path) {
    const char* lines[] = {"4824-1", "V6.0",  "COM1",  "0",         "1",         "    0", "    0",
                           "   20",  " 2000", "   10", "device on", "signal on", " 2000", " 2000",
                           "gwnorm", "+",     "0",     "",          "",          ""};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    for (const char* line : lines) file.write(QByteArray(line) + "\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const bool verify = argc > 2 && std::string_view(argv[2]) == "--verify";
    const double floorMs = verify ? kVerifyFloorMs : kWriteFloorMs;
    const char* name = verify ? "write --verify" : "write";
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    for (int n = 1; n <= 4; ++n)  // nothing here reaches a real port
        ::symlink("/dev/null", QStringLiteral("com%1").arg(n).toLocal8Bit().constData());
    WriteWorkedExample("example.dig");

    auto bench = std::make_shared<zmt::sim::SimulatedBench>();
    bench->addStation(1);
    SilentConsole console;
    zmt::cli::CliEnvironment environment{
        console, zmt::SteadyClock(),
        [](const auto& done) {
            while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            return true;
        },
        zmt::sim::SimulatedDeviceFactory(bench)};
    QStringList arguments{"write", "--port", "COM1", "example.dig", "--quiet"};
    if (verify) arguments << "--verify";
    const auto options = zmt::cli::ParseCommandLine(arguments).options;

    std::printf("floor %.1f ms (start-ups, pacing, wire time, time-outs, power cycles)\n", floorMs);
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const int code = zmt::cli::RunCli(*options, environment);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (code != 0) {
            std::printf("run %d ended with %d\n", run + 1, code);
            return 1;
        }
        ratios.push_back(ms / floorMs);
        std::printf("%s run %d: %.1f ms, ratio %.4f\n", name, run + 1, ms, ratios.back());
    }
    std::printf("zmt4824-cli %s median ratio %.4f over %d runs\n", name, zmt::bench::Median(ratios),
                runs);
    return 0;
}
