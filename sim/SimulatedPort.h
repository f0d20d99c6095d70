#pragma once

#include "link/interface/PlatformDevice.h"
#include "sim/SimulatedBench.h"

#include <memory>

namespace zmt::sim {

// A port device that opens the bench's stations by COM number. A number without a station
// does not exist; a station can be open in one port at a time.
class SimulatedPort : public link::PlatformDevice {
  public:
    explicit SimulatedPort(std::shared_ptr<const SimulatedBench> bench);
    ~SimulatedPort() override;

    link::OpenResult open(int number) override;
    bool isOpen() const override { return station_ != nullptr; }
    bool setTimeouts() override { return isOpen(); }
    bool setQueueSizes(int inSize, int outSize) override;
    bool setEventMask(std::uint32_t mask) override;
    bool setCommState(const link::CommState& state) override;
    bool getCommState(link::CommState& state) override;
    bool lineFunction(link::LineFunction function) override;
    bool status(link::CommStatus& status) override;
    int read(std::uint8_t* buffer, int count) override;
    int write(const std::uint8_t* buffer, int count) override;
    bool purge(std::uint32_t flags) override;
    link::WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override;
    void cancelWait() override;
    void close() override;

  private:
    std::shared_ptr<const SimulatedBench> bench_;
    std::shared_ptr<SimulatedStation> station_;
};

// The factory for the port component: every device it makes opens on `bench`.
link::PlatformDeviceFactory SimulatedDeviceFactory(std::shared_ptr<const SimulatedBench> bench);

}  // namespace zmt::sim
