#pragma once

#include "PlatformDevice.h"
#include "SimulatedLine.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace zmt::sim {

// One programming interface with its meter on one COM number: the simulated line behind
// a lock, the driver-side state of the port that has it open, and the knobs and gauges
// for tests and the demo. Every call plays the wire up to the present first, so nothing
// runs while nobody asks: a waiting port sleeps until the next byte is due.
class SimulatedStation {
  public:
    explicit SimulatedStation(int comNumber, LineTiming timing = {},
                              ImageWords stored = FactoryImage());

    int comNumber() const { return comNumber_; }

    // Driver side, used by SimulatedPort. attach() fails while another port holds it.
    link::OpenResult attach();
    void detach();
    bool setEventMask(std::uint32_t mask);
    bool setCommState(const link::CommState& state);
    bool getCommState(link::CommState& state);
    bool lineFunction(link::LineFunction function);
    bool status(link::CommStatus& status);
    int read(std::uint8_t* buffer, int count);
    int write(const std::uint8_t* buffer, int count);
    bool purge(std::uint32_t flags);
    link::WaitResult waitEvent(int timeoutMs, std::uint32_t& mask);
    void cancelWait();

    // Control.
    void setInput(double input);
    void setAnalog(const MeterAnalog& analog);
    void setOffsetError(double counts);
    void setGainError(double factor);
    void setFullScale(double fullScale);
    void setFault(const Fault& fault);
    void setStoredImage(const ImageWords& image);

    // Observation.
    bool isAttached();
    bool dtr();
    bool rts();
    bool powered();
    bool ready();
    bool gone();
    ImageWords storedImage();
    ImageWords activeImage();
    MeterAnalog analog();
    // Empty while the meter is off or starting.
    std::optional<DisplayedValue> displayed();
    std::string displayText();
    ContactState contact();
    int powerUps();
    int imagesStored();

  private:
    using Lock = std::unique_lock<std::mutex>;

    // Plays the wire up to now and records the comm events it raised.
    void catchUp(SimTime now);
    void raise(std::uint32_t events);
    bool usable() const { return attached_ && !line_.gone(); }
    std::optional<link::WaitResult> waitOutcome(std::uint64_t generation, std::uint32_t& mask);

    const int comNumber_;
    std::mutex mutex_;
    std::condition_variable changed_;
    SimulatedLine line_;

    bool attached_ = false;
    link::CommState commState_;
    std::uint32_t eventMask_ = 0;
    std::uint32_t pendingEvents_ = 0;
    bool cancelRequested_ = false;
    std::uint64_t maskGeneration_ = 0;
};

}  // namespace zmt::sim
