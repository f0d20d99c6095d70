#include "app/demo/DemoBench.h"

#include "editor/ConfigModel.h"
#include "sim/SimulatedPort.h"

#include <algorithm>

namespace zmt::demo {

DemoBench::DemoBench(sim::LineTiming timing, Clock& clock)
    : clock_(clock), bench_(std::make_shared<sim::SimulatedBench>(clock)) {
    for (int com = FirstCom; com <= LastCom; ++com) {
        bench_->addStation(com, timing);
        setRoute(com, com);
    }
    applyAnalog();
}

link::PlatformDeviceFactory DemoBench::deviceFactory() const {
    return [bench = bench_, routes = routes_] {
        return std::make_unique<RoutedStationPort>(bench, routes);
    };
}

link::PlatformDeviceFactory DemoBench::stationFactory() const {
    return sim::SimulatedDeviceFactory(bench_);
}

std::shared_ptr<sim::SimulatedStation> DemoBench::station(int comNumber) const {
    return bench_->station(comNumber);
}

void DemoBench::setMeterType(int index) {
    const int last = static_cast<int>(DeviceTypes.size()) - 1;
    knobs_.meterType = std::clamp(index, 0, last);
    applyAnalog();
}

void DemoBench::setInput(double input) {
    knobs_.input = input;
    applyToAll([input](sim::SimulatedStation& station) { station.setInput(input); });
}

void DemoBench::setOffsetError(double counts) {
    knobs_.offsetError = counts;
    applyAnalog();
}

void DemoBench::setMeterPlugged(bool plugged) {
    knobs_.meterPlugged = plugged;
    applyToAll([plugged](sim::SimulatedStation& station) { station.setMeterPlugged(plugged); });
}

void DemoBench::setGainError(double factor) {
    knobs_.gainError = factor;
    applyAnalog();
}

double DemoBench::fullScale() const {
    return DeviceTypes[static_cast<std::size_t>(knobs_.meterType)].fullScale;
}

QString DemoBench::unit() const {
    return QString::fromLatin1(DeviceTypes[static_cast<std::size_t>(knobs_.meterType)].unitText)
        .trimmed();
}

void DemoBench::applyAnalog() {
    const sim::MeterAnalog analog{fullScale(), knobs_.offsetError, knobs_.gainError};
    const double input = knobs_.input;
    applyToAll([&](sim::SimulatedStation& station) {
        station.setAnalog(analog);
        station.setInput(input);
    });
}

void DemoBench::applyToAll(const std::function<void(sim::SimulatedStation&)>& apply) {
    for (int com = FirstCom; com <= LastCom; ++com) apply(*bench_->station(com));
}

int DemoBench::followedStation() {
    if (bench_->station(followed_)->isAttached()) return followed_;
    for (int com = FirstCom; com <= LastCom; ++com)
        if (bench_->station(com)->isAttached()) return followed_ = com;
    return followed_;
}

MeterSnapshot DemoBench::observe() {
    MeterSnapshot shot;
    shot.comNumber = followedStation();
    sim::SimulatedStation& station = *bench_->station(shot.comNumber);
    shot.attached = station.isAttached();
    shot.plugged = knobs_.meterPlugged;
    shot.dtr = station.dtr();
    shot.rts = station.rts();
    shot.powered = station.powered();
    shot.ready = station.ready();
    if (const auto shown = station.displayed()) shot.displayText = shown->text;
    shot.contact = station.contact();
    shot.calibrationSignal = shot.rts && !station.gone();
    shot.input = shot.calibrationSignal ? fullScale() : knobs_.input;
    shot.powerUps = station.powerUps();
    shot.imagesStored = station.imagesStored();
    return shot;
}

}  // namespace zmt::demo
