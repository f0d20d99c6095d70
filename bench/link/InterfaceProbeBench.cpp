// How long the search for the interface takes on one device where it answers: the
// pseudo-terminal tool with its simulated interface, probed ten times (open, purge, 50 ms of
// quiet, the command byte, its echo, close), and for comparison one silent pseudo-terminal,
// which takes the whole wait for the echo. A round that misses the interface prints -1.

#include "BenchPty.h"
#include "link/InterfaceProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using zmt::link::InterfaceProbe;
using zmt::link::PortEntry;

// Milliseconds of one probe of `path`; negative when the outcome is not `expected`.
double ProbeOnce(InterfaceProbe& probe, const QString& path, zmt::link::ProbeOutcome expected) {
    PortEntry entry;
    entry.devicePath = path;
    QEventLoop loop;
    QObject::connect(&probe, &InterfaceProbe::finished, &loop, &QEventLoop::quit);
    const double start = zmt::link::bench::NowMicroseconds();
    probe.start({entry});
    loop.exec();
    const double elapsed = (zmt::link::bench::NowMicroseconds() - start) / 1000.0;
    const bool ok = probe.results().size() == 1 && probe.results()[0].outcome == expected;
    return ok ? elapsed : -1;
}

bool StartTool(QProcess& tool, const QString& folder) {
    tool.start(ZMT_METER_SIM_TOOL, {"--dir", folder, "--port", "1"});
    if (!tool.waitForStarted(5000)) return false;
    QString output;
    for (int round = 0; round < 100 && !output.contains("ready"); ++round) {
        tool.waitForReadyRead(100);
        output += QString::fromLocal8Bit(tool.readAllStandardOutput());
    }
    return output.contains("ready");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    QProcess tool;
    if (!StartTool(tool, folder.path())) {
        std::fprintf(stderr, "the pseudo-terminal tool did not start\n");
        return 1;
    }
    InterfaceProbe probe(zmt::link::TerminalProbePorts(), zmt::SteadyClock());
    std::vector<double> found;
    for (int round = 0; round < 10; ++round)
        found.push_back(
            ProbeOnce(probe, QDir(folder.path()).filePath("com1"), zmt::link::ProbeOutcome::Found));
    tool.terminate();
    tool.waitForFinished(5000);
    zmt::link::bench::PrintRounds("probe of the pseudo-terminal tool, interface found (ms)", found,
                                  "ms");
    zmt::link::bench::BenchPty silent;
    const std::vector<double> quiet{ProbeOnce(probe, QString::fromStdString(silent.slavePath()),
                                              zmt::link::ProbeOutcome::NoInterface)};
    zmt::link::bench::PrintRounds("probe of a silent pseudo-terminal (ms)", quiet, "ms");
    const bool allFound = std::none_of(found.begin(), found.end(), [](double t) { return t < 0; });
    return allFound && quiet[0] >= 0 ? 0 : 1;
}
