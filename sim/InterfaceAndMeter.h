#pragma once

#include "sim/DisplayModel.h"
#include "sim/LimitContact.h"
#include "sim/MeterImage.h"
#include "sim/MeterProtocol.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

namespace zmt::sim {

using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;
using SimDuration = std::chrono::nanoseconds;
using std::chrono::milliseconds;

// The faults a test can put on the line.
enum class FaultKind {
    None,
    NoInterface,     // nothing comes back, the lines drive nothing
    NoMeter,         // the interface echoes, no meter answers
    StopAfter,       // nothing comes back after `count` bytes since the last power-up
    ExtraByte,       // one more byte after the last answer of a read or write part
    WrongAnswer,     // the command byte is answered with another byte
    DisappearAfter,  // the interface is unplugged when the `count`-th byte reaches it
    SlowAnswers,     // every answer of the meter comes `delay` late
};

struct Fault {
    FaultKind kind = FaultKind::None;
    int count = 0;
    milliseconds delay{0};

    static Fault none() { return {}; }
    static Fault noInterface() { return {FaultKind::NoInterface}; }
    static Fault noMeter() { return {FaultKind::NoMeter}; }
    static Fault stopAfter(int bytes) { return {FaultKind::StopAfter, bytes}; }
    static Fault extraByte() { return {FaultKind::ExtraByte}; }
    static Fault wrongAnswer() { return {FaultKind::WrongAnswer}; }
    static Fault disappearAfter(int bytes) { return {FaultKind::DisappearAfter, bytes}; }
    static Fault slowAnswers(milliseconds delay) { return {FaultKind::SlowAnswers, 0, delay}; }
};

// What the meter sends instead of the command byte under FaultKind::WrongAnswer, and as
// the extra byte under FaultKind::ExtraByte.
inline constexpr std::uint8_t WrongCommandAnswer = 0x5A;
inline constexpr std::uint8_t ExtraAnswer = 0xFF;

// From power-up until the meter answers. The program waits 1600 ms after switching DTR on
// before it sends (and the byte needs another 40 ms to go out); a meter that needs nearly
// all of it makes every run with a shortened wait fail, not only the one that measures it.
inline constexpr milliseconds MeterStartup{1500};

struct LineTiming {
    milliseconds startup = MeterStartup;  // from power-up until the meter answers
    // A longer pause restarts the meter's frame: well above the 40 ms pacing and the pauses a
    // loaded machine puts between two bytes, well below the second of silence that ends a
    // transfer (a meter that is never power-cycled tells frames apart by this pause alone).
    milliseconds frameGap{600};
    milliseconds extraByteQuiet{200};  // quiet time before the extra byte of that fault
};

// The character format the host drives the line with; only 9600 8N1 reaches the meter.
struct LineFormat {
    std::uint32_t baudRate = 9600;
    int dataBits = 8;
    int parity = 0;    // 0 none
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two

    bool meterUnderstands() const;
    SimDuration byteTime() const;
};

// The programming interface and the meter behind it as a discrete-event model: every
// call takes the present time, and advance() plays what happened on the wire up to then.
// DTR supplies the meter, RTS switches the full-scale calibration signal to its input;
// every byte reaching the interface is echoed and then answered by the meter.
// Not thread-safe; SimulatedStation guards it.
class InterfaceAndMeter {
  public:
    explicit InterfaceAndMeter(LineTiming timing = {}, ImageWords stored = FactoryImage());

    // Host side. Bytes go out one after the other, each taking its wire time.
    void hostWrite(const std::uint8_t* bytes, int count, SimTime now);
    int takeReceived(std::uint8_t* buffer, int count);
    int bytesWaiting() const { return static_cast<int>(received_.size()); }
    int bytesToSend() const { return static_cast<int>(sending_.size()); }
    void purgeReceived() { received_.clear(); }
    void purgeTransmit(SimTime now);
    void setFormat(const LineFormat& format) { format_ = format; }
    const LineFormat& format() const { return format_; }
    void setDtr(bool on, SimTime now);
    void setRts(bool on, SimTime now);
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    // The host let go of the port: its lines fall and what waited is dropped.
    void release(SimTime now);

    // Plays the wire up to `now`; returns how many bytes arrived at the host meanwhile.
    int advance(SimTime now);
    // When the next thing happens on the wire, if anything is under way.
    std::optional<SimTime> nextEventAt() const;

    // Control.
    void setAnalog(const MeterAnalog& analog, SimTime now);
    const MeterAnalog& analog() const { return analog_; }
    void setInput(double input, SimTime now);
    double inputSetting() const { return input_; }
    void setFault(const Fault& fault, SimTime now);
    const Fault& fault() const { return fault_; }
    void setStoredImage(const ImageWords& image) { stored_ = image; }
    // The meter taken off the interface or put on it (one meter after another on a
    // production bench). Without a meter the interface still echoes; a meter plugged in
    // while DTR is high starts at once.
    void setMeterPlugged(bool plugged, SimTime now);
    bool meterPlugged() const { return meterPlugged_; }

    // Observation.
    bool gone() const { return gone_; }
    bool powered() const { return powered_; }
    bool ready(SimTime now) const { return powered_ && now >= readyAt_; }
    SimTime readyAt() const { return readyAt_; }
    const ImageWords& storedImage() const { return stored_; }
    const ImageWords& activeImage() const { return active_; }
    double input() const { return signalSwitched() ? analog_.fullScale : input_; }
    double rawCounts() const { return RawCounts(analog_, input()); }
    // Empty while the meter is off or starting.
    std::optional<DisplayedValue> displayed(SimTime now) const;
    ContactState contact(SimTime now);
    int powerUps() const { return powerUps_; }
    bool signalSwitched() const { return rts_ && !gone_ && fault_.kind != FaultKind::NoInterface; }
    int imagesStored() const { return imagesStored_; }

  private:
    struct Returning {
        std::uint8_t byte;
        bool fromMeter;
    };

    void processNextEvent();
    void arriveAtInterface(std::uint8_t byte, SimTime at);
    std::optional<std::uint8_t> meterAnswer(std::uint8_t byte, SimTime at);
    void deliver(const Returning& returning);
    void sendBack(SimTime at, std::uint8_t byte, bool fromMeter);
    void powerUp(SimTime now);
    bool canPowerMeter() const;
    void powerDown();
    void unplug();
    void refreshContact(SimTime now);

    LineTiming timing_;
    LineFormat format_;
    MeterAnalog analog_;
    double input_ = 0;
    Fault fault_;
    bool gone_ = false;
    bool meterPlugged_ = true;

    bool dtr_ = false;
    bool rts_ = false;
    bool powered_ = false;
    SimTime readyAt_{};
    int powerUps_ = 0;

    ImageWords stored_;
    ImageWords active_;
    int imagesStored_ = 0;
    MeterProtocol protocol_;
    LimitContact contact_;
    std::optional<SimTime> lastMeterByteAt_;
    std::optional<SimTime> extraDueAt_;

    struct Sending {
        std::uint8_t byte;
        SimTime arrivesAt;
    };
    std::deque<Sending> sending_;                  // host to interface, in wire order
    std::multimap<SimTime, Returning> returning_;  // interface to host, by arrival
    std::deque<std::uint8_t> received_;            // waiting in the host's input buffer
    SimTime sendLineFreeAt_{};
    SimTime returnLineFreeAt_{};
    int returnedSincePowerUp_ = 0;
    int arrivedSinceFault_ = 0;
};

}  // namespace zmt::sim
