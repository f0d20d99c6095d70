#pragma once

#include "common/Clock.h"
#include "link/interface/PlatformDevice.h"
#include "sim/InterfaceAndMeter.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace zmt::sim {

// One programming interface with its meter on one COM number: the simulated line behind
// a lock, the driver-side state of the port that has it open, and the knobs and gauges
// for tests and the demo. Every call plays the wire up to the present first, so nothing
// runs while nobody asks: a waiting port sleeps until the next byte is due.
//
// On a virtual clock the station plays the wire whenever the clock moves, and tells how
// far it has got: whether the port's event thread waits with nothing left to report
// (Quiescent) and when the wire has the next thing to do (NextEventAt), so that a test
// can move the clock on exactly when the program has nothing left to do at this moment.
class SimulatedStation {
  public:
    explicit SimulatedStation(int comNumber, LineTiming timing = {},
                              ImageWords stored = FactoryImage(), Clock& clock = SteadyClock());
    ~SimulatedStation();
    SimulatedStation(const SimulatedStation&) = delete;
    SimulatedStation& operator=(const SimulatedStation&) = delete;

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
    // The meter off the interface, or on it (see InterfaceAndMeter).
    void setMeterPlugged(bool plugged);

    // Observation.
    bool isAttached();
    bool meterPlugged();
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

    // A port's event thread waits on the station.
    bool PortWaiting();
    // Virtual time: nothing is under way that the present could still change.
    bool Quiescent();
    std::optional<SimTime> NextEventAt();
    // Runs (on the waiting thread) whenever a port's wait settles; set before use.
    void SetActivityListener(std::function<void()> listener);
    // Told of every change of the interface lines (a close drops both), with its time; it
    // runs under the station's lock and must not call the station.
    void SetLineListener(std::function<void(SimTime at, bool dtr, bool rts)> listener);

  private:
    using Lock = std::unique_lock<std::mutex>;

    SimTime now() const { return clock_.now(); }
    void ClockMoved();
    // Plays the wire up to now and records the comm events it raised.
    void catchUp(SimTime now);
    void raise(std::uint32_t events);
    void TellLines(SimTime at, bool dtrBefore, bool rtsBefore);
    bool usable() const { return attached_ && !line_.gone(); }
    std::optional<link::WaitResult> waitOutcome(std::uint64_t generation, std::uint32_t& mask);
    void WaitForTheClock(std::uint64_t generation, const std::optional<SimTime>& deadline,
                         Lock& lock);

    const int comNumber_;
    Clock& clock_;
    VirtualClock* virtual_;
    int clockListener_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    InterfaceAndMeter line_;

    bool attached_ = false;
    link::CommState commState_;
    std::uint32_t eventMask_ = 0;
    std::uint32_t pendingEvents_ = 0;
    bool cancelRequested_ = false;
    std::uint64_t maskGeneration_ = 0;
    // The wait of the port's event thread, as far as a virtual clock needs to know it.
    bool waiting_ = false;
    std::uint64_t waitingGeneration_ = 0;
    std::optional<SimTime> waitingDeadline_;
    std::function<void()> activityListener_;
    std::function<void(SimTime, bool, bool)> lineListener_;
};

}  // namespace zmt::sim
