#include "sim/SimulatedPort.h"

namespace zmt::sim {

SimulatedPort::SimulatedPort(std::shared_ptr<const SimulatedBench> bench)
    : bench_(std::move(bench)) {}

SimulatedPort::~SimulatedPort() {
    close();
}

link::OpenResult SimulatedPort::open(int number) {
    close();
    auto station = bench_ ? bench_->station(number) : nullptr;
    if (!station) {
        link::OpenResult missing;
        missing.failure = link::OpenFailure::NoSuchDevice;
        missing.path = "simulated COM" + std::to_string(number);
        return missing;
    }
    link::OpenResult result = station->attach();
    if (result.ok()) station_ = std::move(station);
    return result;
}

bool SimulatedPort::setQueueSizes(int inSize, int outSize) {
    return isOpen() && inSize >= 0 && outSize >= 0;
}

bool SimulatedPort::setEventMask(std::uint32_t mask) {
    return station_ && station_->setEventMask(mask);
}

bool SimulatedPort::setCommState(const link::CommState& state) {
    return station_ && station_->setCommState(state);
}

bool SimulatedPort::getCommState(link::CommState& state) {
    return station_ && station_->getCommState(state);
}

bool SimulatedPort::lineFunction(link::LineFunction function) {
    return station_ && station_->lineFunction(function);
}

bool SimulatedPort::status(link::CommStatus& status) {
    return station_ && station_->status(status);
}

int SimulatedPort::read(std::uint8_t* buffer, int count) {
    return station_ ? station_->read(buffer, count) : -1;
}

int SimulatedPort::write(const std::uint8_t* buffer, int count) {
    return station_ ? station_->write(buffer, count) : -1;
}

bool SimulatedPort::purge(std::uint32_t flags) {
    return station_ && station_->purge(flags);
}

link::WaitResult SimulatedPort::waitEvent(int timeoutMs, std::uint32_t& mask) {
    return station_ ? station_->waitEvent(timeoutMs, mask) : link::WaitResult::Failed;
}

void SimulatedPort::cancelWait() {
    if (station_) station_->cancelWait();
}

void SimulatedPort::close() {
    if (!station_) return;
    station_->detach();
    station_.reset();
}

link::PlatformDeviceFactory SimulatedDeviceFactory(std::shared_ptr<const SimulatedBench> bench) {
    return [bench = std::move(bench)]() -> std::unique_ptr<link::PlatformDevice> {
        return std::make_unique<SimulatedPort>(bench);
    };
}

}  // namespace zmt::sim
