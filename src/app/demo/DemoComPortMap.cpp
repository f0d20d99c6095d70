#include "app/demo/DemoComPortMap.h"

#include "app/demo/DemoBench.h"
#include "link/FixedPortCatalog.h"
#include "link/SpComPort.h"

namespace zmt::demo {

namespace {

QString StationName(int station) {
    return QStringLiteral("sim%1").arg(station);
}

// The station a device name stands for; 0 for anything else.
int StationOf(const QString& devicePath) {
    for (int station = FirstCom; station <= LastCom; ++station)
        if (devicePath == StationName(station)) return station;
    return 0;
}

std::vector<link::PortEntry> StationEntries() {
    std::vector<link::PortEntry> entries;
    for (int station = FirstCom; station <= LastCom; ++station) {
        link::PortEntry entry;
        entry.devicePath = StationName(station);
        entry.description = QStringLiteral("simulated programming interface with meter");
        entry.manufacturer = QStringLiteral("zmt4824-demo");
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace

link::ComTarget DemoComPortMap::target(int number,
                                       const std::vector<link::PortEntry>& catalog) const {
    link::ComTarget target;
    target.number = number;
    const int station = bench_.route(number);
    target.kind = station == number ? link::ComTargetKind::Standard : link::ComTargetKind::Link;
    target.path = target.device = StationName(station);
    target.exists = target.hardware = true;
    if (const link::PortEntry* entry = link::FindPortEntry(catalog, target.device))
        target.description = entry->description;
    return target;
}

QString DemoComPortMap::standardDevice(int number) const {
    return StationName(number);
}

std::vector<link::BindProblem> DemoComPortMap::bind(
    const std::vector<link::BindRequest>& requests) {
    std::vector<link::BindProblem> refused;
    for (const link::BindRequest& request : requests)
        if (!request.devicePath.isEmpty() && StationOf(request.devicePath) == 0)
            refused.push_back(
                {request.number, link::BindFailure::DeviceMissing, 0, request.devicePath});
    if (!refused.empty()) return refused;
    for (const link::BindRequest& request : requests) {
        const int station = StationOf(request.devicePath);
        bench_.setRoute(request.number, station == 0 ? request.number : station);
    }
    return {};
}

link::PortSetup DemoPortSetup(DemoBench& bench) {
    link::PortSetup setup;
    setup.catalog = std::make_shared<link::FixedPortCatalog>(StationEntries());
    setup.comPorts = std::make_shared<DemoComPortMap>(bench);
    setup.probePorts = [&bench](const QString& devicePath) {
        return link::MakeProbePort(bench.stationFactory(), StationOf(devicePath));
    };
    return setup;
}

}  // namespace zmt::demo
