#pragma once

#include "link/MeterStartup.h"
#include "sim/bridge/Timeline.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zmt::sim::bridge {

// Opening a terminal raises DTR and RTS together until the program drops them; nothing
// else raises both at once. Longer than this, it is the program's own power-up.
inline constexpr double OpenPulseMaxMs = 100;
// What every exchange needs of the meter's supply and the line timing.
inline constexpr double StartupMs = link::MeterStartupMs;  // powered before the first byte
inline constexpr double PowerDownWindowMs = 1500;          // unpowered before the power-up
inline constexpr double RestartOffMs = 500;                // off before the restart after a write
inline constexpr double ShortestPowerUpMs = 300;           // a meter switched on for less: a blip
inline constexpr double ExchangeEndGapMs = 900;  // the engine ends an exchange after 1 s quiet
// The lines reach the host a few milliseconds late and unevenly: the adapter's requests go
// in the emulated USB controller's 1 ms frames, the guest's timers run on an emulated
// clock. A program's own interval may measure this much short on the host.
inline constexpr double LineJitterMs = 5;

struct PowerInterval {
    double from;
    double to;  // the case's end while DTR is still high then
    bool openPulse;
    double length() const { return to - from; }
};

// DTR's high stretches in `lines`, each marked whether it is the kernel's pulse at an open.
std::vector<PowerInterval> PowerIntervals(const std::vector<LineChange>& lines, double endMs);

// One frame: the guest's bytes, paced by the answers, up to a second of quiet.
struct Exchange {
    double firstSent = 0;
    double lastByte = 0;
    std::vector<std::uint8_t> sent;
    std::vector<double> sentAt;
    int answered = 0;
    bool isWrite() const { return sent.size() == 65; }
};

std::vector<Exchange> Exchanges(const std::vector<WireByte>& bytes);

// The image a write frame carries, when the frame is complete.
std::optional<ImageWords> WrittenImage(const Exchange& exchange);

struct DeviceFigures {
    int opens = 0;
    int resets = 0;
    std::vector<double> startAfterPowerUp;  // per exchange
    std::optional<double> medianPacing;     // between two bytes the guest sent
    std::optional<double> medianOpenPulse;
};

DeviceFigures FiguresOf(const DeviceLog& log, double endMs);

// Each check returns its findings: one line per fault, empty when all is well. Times in
// the lines are from the case's start.
struct ExchangeContext {
    double caseBegin;
    double nextExchange;  // the next frame's first byte, or the case's end
    bool mayBeCut;        // the adapter was pulled during it
    // The command's last exchange: the meter stays off after it, even after a write (its
    // restart would only be switched off again).
    bool commandsLast = false;
};
std::vector<std::string> CheckExchange(const Exchange& exchange, int number,
                                       const std::vector<PowerInterval>& power,
                                       const std::vector<LineChange>& lines,
                                       const ExchangeContext& context);
// After the case: both lines low, and no power-up that is neither an open nor long enough
// for a meter to start.
std::vector<std::string> CheckLineHygiene(const DeviceLog& log, double caseBegin, double caseEnd);
// The meter stays unpowered throughout, apart from the kernel's pulses.
std::vector<std::string> CheckNeverPowered(const DeviceLog& log, double caseBegin, double caseEnd);

double Median(std::vector<double> values);

}  // namespace zmt::sim::bridge
