#include "sim/bridge/TimelineChecks.h"

#include <algorithm>
#include <cstdio>

namespace zmt::sim::bridge {

namespace {

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", ms);
    return text;
}

std::string FrameName(const Exchange& exchange, int number) {
    return "frame " + std::to_string(number) + (exchange.isWrite() ? " (write)" : " (read)");
}

const PowerInterval* Containing(const std::vector<PowerInterval>& power, double ms) {
    for (const auto& interval : power)
        if (interval.from <= ms && ms < interval.to) return &interval;
    return nullptr;
}

// RTS as it stood at `ms`.
bool RtsAt(const std::vector<LineChange>& lines, double ms) {
    bool rts = false;
    for (const auto& change : lines) {
        if (change.ms > ms) break;
        rts = change.rts;
    }
    return rts;
}

bool RtsRaisedWithin(const std::vector<LineChange>& lines, double from, double to) {
    if (RtsAt(lines, from)) return true;
    return std::any_of(lines.begin(), lines.end(),
                       [&](const LineChange& c) { return c.ms > from && c.ms <= to && c.rts; });
}

std::vector<std::string> CheckFrame(const Exchange& exchange, const std::string& name,
                                    bool mayBeCut) {
    std::vector<std::string> findings;
    const auto& sent = exchange.sent;
    if (sent.front() != CommandByte) findings.push_back(name + ": does not open with 0xA6");
    const bool fullLength = sent.size() == 33 || sent.size() == 65;
    if (!fullLength && !mayBeCut)
        findings.push_back(name + ": " + std::to_string(sent.size()) + " bytes sent, not 33 or 65");
    const auto zeros = std::min<std::size_t>(sent.size(), 33);
    if (std::any_of(sent.begin() + 1, sent.begin() + static_cast<long>(zeros),
                    [](std::uint8_t b) { return b != 0; }))
        findings.push_back(name + ": the read part is not 32 zero bytes");
    if (!mayBeCut && exchange.answered != 2 * static_cast<int>(sent.size()))
        findings.push_back(name + ": " + std::to_string(exchange.answered) + " bytes back for " +
                           std::to_string(sent.size()) + " sent");
    return findings;
}

// After a good write the meter is switched off and on again, to start with the new image:
// a power-up after 500 ms off, before the next frame's own power-up.
std::optional<std::string> CheckRestart(const PowerInterval& exchangePower,
                                        const std::vector<PowerInterval>& power,
                                        double nextExchange, const std::string& name) {
    double offSince = exchangePower.to;
    double longestOff = 0;
    for (const auto& interval : power) {
        if (interval.openPulse || interval.from <= exchangePower.from) continue;
        if (interval.from >= nextExchange || Containing(power, nextExchange) == &interval) break;
        const double off = interval.from - offSince;
        if (off >= RestartOffMs - LineJitterMs) return std::nullopt;
        longestOff = std::max(longestOff, off);
        offSince = interval.to;
    }
    if (offSince == exchangePower.to && longestOff == 0)
        return name + ": no restart of the meter after it";
    return name + ": the meter is switched on again after only " + Ms(longestOff) +
           " off, never after " + Ms(RestartOffMs);
}

bool PoweredAgain(const PowerInterval& exchangePower, const std::vector<PowerInterval>& power) {
    for (const auto& interval : power)
        if (!interval.openPulse && interval.from > exchangePower.from) return true;
    return false;
}

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::vector<PowerInterval> PowerIntervals(const std::vector<LineChange>& lines, double endMs) {
    std::vector<PowerInterval> intervals;
    bool dtr = false;
    bool rts = false;
    bool raisedTogether = false;
    double since = 0;
    for (const auto& change : lines) {
        if (change.dtr && !dtr) {
            since = change.ms;
            raisedTogether = change.rts && !rts;
        } else if (!change.dtr && dtr) {
            intervals.push_back(
                {since, change.ms, raisedTogether && change.ms - since <= OpenPulseMaxMs});
        }
        dtr = change.dtr;
        rts = change.rts;
    }
    if (dtr) intervals.push_back({since, endMs, raisedTogether && endMs - since <= OpenPulseMaxMs});
    return intervals;
}

std::vector<Exchange> Exchanges(const std::vector<WireByte>& bytes) {
    std::vector<Exchange> exchanges;
    for (const auto& byte : bytes) {
        if (byte.fromGuest) {
            const bool quietBefore =
                exchanges.empty() || byte.ms - exchanges.back().lastByte > ExchangeEndGapMs;
            if (quietBefore) exchanges.emplace_back().firstSent = byte.ms;
            exchanges.back().sent.push_back(byte.value);
            exchanges.back().sentAt.push_back(byte.ms);
        } else if (!exchanges.empty()) {
            ++exchanges.back().answered;
        }
        if (!exchanges.empty()) exchanges.back().lastByte = byte.ms;
    }
    return exchanges;
}

std::optional<ImageWords> WrittenImage(const Exchange& exchange) {
    if (!exchange.isWrite()) return std::nullopt;
    ImageWords image{};
    for (int i = 0; i < ImageByteCount; i += 2)
        image[static_cast<std::size_t>(i / 2)] =
            static_cast<std::uint16_t>(exchange.sent[static_cast<std::size_t>(33 + i)] |
                                       exchange.sent[static_cast<std::size_t>(34 + i)] << 8);
    return image;
}

DeviceFigures FiguresOf(const DeviceLog& log, double endMs) {
    DeviceFigures figures;
    const auto power = PowerIntervals(log.lines, endMs);
    std::vector<double> pulses;
    for (const auto& interval : power)
        if (interval.openPulse) pulses.push_back(interval.length());
    figures.opens = static_cast<int>(pulses.size());
    figures.resets = static_cast<int>(log.resets.size());
    if (!pulses.empty()) figures.medianOpenPulse = Median(pulses);
    std::vector<double> pacing;
    for (const auto& exchange : Exchanges(log.bytes)) {
        if (const auto* up = Containing(power, exchange.firstSent); up && !up->openPulse)
            figures.startAfterPowerUp.push_back(exchange.firstSent - up->from);
        for (std::size_t i = 1; i < exchange.sentAt.size(); ++i)
            pacing.push_back(exchange.sentAt[i] - exchange.sentAt[i - 1]);
    }
    if (!pacing.empty()) figures.medianPacing = Median(pacing);
    return figures;
}

std::vector<std::string> CheckExchange(const Exchange& exchange, int number,
                                       const std::vector<PowerInterval>& power,
                                       const std::vector<LineChange>& lines,
                                       const ExchangeContext& context) {
    const std::string name =
        FrameName(exchange, number) + " at " + Ms(exchange.firstSent - context.caseBegin);
    std::vector<std::string> findings = CheckFrame(exchange, name, context.mayBeCut);
    const PowerInterval* up = Containing(power, exchange.firstSent);
    if (!up || up->openPulse) {
        findings.push_back(name + ": the meter is unpowered when the frame starts");
        return findings;
    }
    const double startup = exchange.firstSent - up->from;
    if (startup < StartupMs - LineJitterMs)
        findings.push_back(name + ": first byte " + Ms(startup) + " after the power-up, not " +
                           Ms(StartupMs));
    for (const auto& other : power) {
        const bool inWindow =
            other.to > up->from - PowerDownWindowMs + LineJitterMs && other.from < up->from;
        if (inWindow && !other.openPulse)
            findings.push_back(name + ": the meter is powered " + Ms(up->from - other.to) +
                               " before the power-up, inside its " + Ms(PowerDownWindowMs) +
                               " off time");
    }
    if (RtsRaisedWithin(lines, up->from, exchange.lastByte))
        findings.push_back(name + ": the calibration signal is on during the exchange");
    if (context.commandsLast) {
        if (PoweredAgain(*up, power))
            findings.push_back(name +
                               ": the meter is powered again after the command's last "
                               "exchange");
    } else if (exchange.isWrite() && !context.mayBeCut) {
        if (auto restart = CheckRestart(*up, power, context.nextExchange, name))
            findings.push_back(*restart);
    }
    return findings;
}

std::vector<std::string> CheckLineHygiene(const DeviceLog& log, double caseBegin, double caseEnd) {
    std::vector<std::string> findings;
    if (!log.lines.empty()) {
        const LineChange& last = log.lines.back();
        if (last.dtr || last.rts)
            findings.push_back(std::string("after the command ") +
                               (last.dtr ? "DTR (meter power) " : "") +
                               (last.dtr && last.rts ? "and " : "") +
                               (last.rts ? "RTS (signal) " : "") + "still high");
    }
    for (const auto& interval : PowerIntervals(log.lines, caseEnd)) {
        if (interval.openPulse || interval.length() >= ShortestPowerUpMs) continue;
        if (interval.from <= caseBegin) continue;  // from before the case
        findings.push_back("the meter is powered for " + Ms(interval.length()) + " at " +
                           Ms(interval.from - caseBegin) +
                           " (a blip: no open pulse, too short to start the meter)");
    }
    return findings;
}

std::vector<std::string> CheckNeverPowered(const DeviceLog& log, double caseBegin, double caseEnd) {
    std::vector<std::string> findings;
    for (const auto& interval : PowerIntervals(log.lines, caseEnd))
        if (!interval.openPulse && interval.to > caseBegin)
            findings.push_back("the meter is powered for " + Ms(interval.length()) + " at " +
                               Ms(interval.from - caseBegin));
    return findings;
}

}  // namespace zmt::sim::bridge
