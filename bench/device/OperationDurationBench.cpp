// How long a read and a write operation take against the simulated meter, from the click
// on "o.k." to the final message, compared with the least the pacing allows.
//
//   operation_duration_bench [runs]      (default 5 runs of each operation)
//
// The floor: two exchanges (33 and 65 bytes sent), each with its 3500 ms start-up, 40 ms
// before every byte sent plus that byte's wire time at 9600 bit/s, and the final 1000 ms of
// silence; between them the 1200 ms and 500 ms of the power cycle. The echo and the answer
// of each byte cost at least another byte time or two on the wire; leaving them out keeps
// the floor low, so the ratio errs on the high side.

#include "Median.h"
#include "app/ZMT6v01.h"
#include "device/ZMTUnit1.h"
#include "editor/ZMT1.h"
#include "link/ZMTCOMU1.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double kByteMs = 10 * 1000.0 / 9600;  // start, 8 data bits, stop
constexpr double kPerByteSentMs = 40 + kByteMs;
constexpr double kExchangeFrameMs = 3500 + 1000;
constexpr double kFloorMs = 2 * kExchangeFrameMs + 1200 + 500 + (33 + 65) * kPerByteSentMs;

// The worked example of a 20 mA meter; COM1.
void WriteSettings() {
    const char* lines[] = {"4824-1", "V6.0",  "COM1",  "0",         "1",         "    0", "    0",
                           "   20",  " 2000", "   10", "device on", "signal on", " 2000", " 2000",
                           "gwnorm", "+",     "0",     "",          "",          ""};
    QFile file("initdig.txt");
    if (!file.open(QIODevice::WriteOnly)) return;
    for (const char* line : lines) file.write(QByteArray(line) + "\r\n");
}

// Ports of this working directory lead nowhere: the bench never reaches a real port.
void LinkPortsToNull() {
    for (int n = 1; n <= 4; ++n)
        ::symlink("/dev/null", QStringLiteral("com%1").arg(n).toLocal8Bit().constData());
}

// Runs the event loop until `done` or the time-out. Unlike QTest's waits, which sleep
// between rounds, a real event loop lets every notification through at once.
void RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    check.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// One operation: milliseconds from the click on "o.k." to the judging of its write.
double MeasureOperation(zmt::ZMT6v01& program, const char* button) {
    zmt::TProgramForm& form = program.ProgramForm();
    double elapsedMs = -1;
    QTimer::singleShot(0, [&] {
        int ended = 0;
        QElapsedTimer clock;
        QEventLoop loop;
        // Connected after the operation window, so it runs once the exchange is judged.
        const auto connection =
            QObject::connect(&program.transfers(), &zmt::link::TransferEngine::exchangeEnded, [&] {
                if (++ended < 2) return;
                elapsedMs = clock.nsecsElapsed() / 1e6;
                loop.quit();
            });
        clock.start();
        form.findChild<QPushButton*>("weiterbutton")->click();
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        zmt::OperationSequencer& steps = form.sequencer();
        RunEventLoopUntil(
            [&] { return !steps.waittimer().enabled() && !steps.resettimer().enabled(); }, 5000);
        form.close();
    });
    program.Form1().findChild<QPushButton*>(button)->click();
    return elapsedMs;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    LinkPortsToNull();
    WriteSettings();

    auto bench = std::make_shared<zmt::sim::SimulatedBench>();
    bench->addStation(1);
    zmt::ZMT6v01 program(zmt::ProgramOptions{zmt::sim::SimulatedDeviceFactory(bench)});
    program.Show();
    RunEventLoopUntil([] { return false; }, 500);

    std::printf("floor %.1f ms (start-up, pacing, wire time, time-outs, power cycle)\n", kFloorMs);
    const std::pair<const char*, const char*> operations[] = {{"read", "Readbutt"},
                                                              {"write", "Skalbutt"}};
    for (const auto& [name, button] : operations) {
        std::vector<double> ratios;
        for (int run = 0; run < runs; ++run) {
            const double ms = MeasureOperation(program, button);
            if (ms < 0) {
                std::printf("%s run %d did not finish\n", name, run + 1);
                return 1;
            }
            ratios.push_back(ms / kFloorMs);
            std::printf("%s run %d: %.1f ms, ratio %.4f\n", name, run + 1, ms, ratios.back());
        }
        std::printf("%s median ratio %.4f over %d runs\n", name, zmt::bench::Median(ratios), runs);
    }
    program.Form1().close();
    return 0;
}
