// How long one unit of a series takes against the simulated meter on the machine's clock:
// from the meter being plugged in to the start of its write, and to its result with the
// read-back, compared with the least the protocol allows.
//
//   series_unit_bench [units]      (default 3 units)
//
// The floor of one unit: the write (a read exchange, the 1200 ms + 500 ms power cycle, the
// write exchange, the same power cycle, the restart's shortest power-up) and the read-back's
// exchange; each exchange with its
// 3500 ms start-up and 1000 ms of final silence, 40 ms before every byte sent plus that
// byte's wire time at 9600 bit/s. The echo and the answer of each byte are left out, so the
// ratio errs on the high side. Noticing the meter may add up to 3 s on top.

#include "Median.h"
#include "cli/ConfigFile.h"
#include "language/LanguageText.h"
#include "link/MeterStartup.h"
#include "series/SeriesLoop.h"
#include "series/SessionMeter.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

constexpr double kByteMs = 10 * 1000.0 / 9600;
constexpr double kPerByteSentMs = 40 + kByteMs;
constexpr double kExchangeFrameMs = 3500 + 1000;
constexpr double kPowerCycleMs = 1200 + 500;
constexpr double kFloorMs = 3 * kExchangeFrameMs + 2 * kPowerCycleMs +
                            zmt::link::ShortestPowerUpMs + (33 + 65 + 33) * kPerByteSentMs;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int units = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    using namespace zmt;
    auto bench = std::make_shared<sim::SimulatedBench>();
    auto station = bench->addStation(1);
    station->setMeterPlugged(false);
    LanguageText texts;
    texts.FillLanguageText();

    SeriesHooks hooks;
    hooks.MakeMeter = [&](ConfigEditor& editor, DeviceState& device) {
        auto meter = std::make_unique<MeterSession>(
            editor, device, sim::SimulatedDeviceFactory(bench), 1, "COM1", SteadyClock());
        meter->OpenPort();
        return std::unique_ptr<SeriesMeter>(std::make_unique<SessionMeter>(std::move(meter)));
    };
    SeriesLoop loop(texts, hooks, SteadyClock());

    QElapsedTimer clock;
    clock.start();
    qint64 pluggedAt = 0;
    std::vector<double> toWrite, toResult;
    auto plugIn = [&] {
        station->setStoredImage(sim::FactoryImage());
        station->setMeterPlugged(true);
        pluggedAt = clock.elapsed();
    };
    QObject::connect(&loop, &SeriesLoop::unitStarted,
                     [&](int) { toWrite.push_back(double(clock.elapsed() - pluggedAt)); });
    QObject::connect(&loop, &SeriesLoop::unitFinished, [&](const SeriesUnit& unit) {
        toResult.push_back(double(clock.elapsed() - pluggedAt));
        std::printf("unit %d: %s, %.0f ms to its write, %.0f ms to its result\n", unit.number,
                    unit.result == UnitResult::Passed ? "passed" : "failed", toWrite.back(),
                    toResult.back());
        std::fflush(stdout);
    });
    QObject::connect(&loop, &SeriesLoop::phaseChanged, [&](SeriesPhase phase) {
        if (phase != SeriesPhase::WaitingForRemoval) return;
        station->setMeterPlugged(false);
        QTimer::singleShot(2500, plugIn);
    });
    QObject::connect(&loop, &SeriesLoop::ended, &app, &QCoreApplication::quit);

    ConfigModel model;
    SessionState session;
    ConfigEditor editor{model, session, texts};
    cli::ApplyDefaults(editor);
    session.ComPortNumber = 1;
    session.ComPortName = "COM1";
    session.LanguageIndex = 1;
    const QStringList refused = loop.Start(SeriesSetup{model, session, true, units});
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "%s\n", refused.join('\n').toLocal8Bit().constData());
        return 1;
    }
    QTimer::singleShot(700, plugIn);
    app.exec();

    const double write = bench::Median(toWrite), result = bench::Median(toResult);
    std::printf("median over %zu units: plugged in to write %.0f ms, to result %.0f ms\n",
                toResult.size(), write, result);
    std::printf(
        "floor of a write and its read-back %.0f ms; result after noticing: %.3f x "
        "floor (goal 1.03), noticing %.0f ms (goal 2500)\n",
        kFloorMs, (result - write) / kFloorMs, write);
    return 0;
}
