#include "sim/InterfaceAndMeter.h"

#include <algorithm>

namespace zmt::sim {

namespace {

inline constexpr std::uint32_t MeterBaudRate = 9600;

double StopBitCount(int code) {
    return code == 0 ? 1.0 : code == 1 ? 1.5 : 2.0;
}

}  // namespace

bool LineFormat::meterUnderstands() const {
    return baudRate == MeterBaudRate && dataBits == 8 && parity == 0 && stopBits == 0;
}

SimDuration LineFormat::byteTime() const {
    const double bits = 1 + dataBits + (parity != 0 ? 1 : 0) + StopBitCount(stopBits);
    const double rate = baudRate != 0 ? baudRate : MeterBaudRate;
    return SimDuration(static_cast<SimDuration::rep>(bits * 1e9 / rate));
}

InterfaceAndMeter::InterfaceAndMeter(LineTiming timing, ImageWords stored)
    : timing_(timing), stored_(stored), active_(stored) {}

void InterfaceAndMeter::hostWrite(const std::uint8_t* bytes, int count, SimTime now) {
    for (int i = 0; i < count; ++i) {
        const SimTime start = std::max(now, sendLineFreeAt_);
        sendLineFreeAt_ = start + format_.byteTime();
        sending_.push_back({bytes[i], sendLineFreeAt_});
    }
}

int InterfaceAndMeter::takeReceived(std::uint8_t* buffer, int count) {
    const int taken = std::min(count, bytesWaiting());
    std::copy_n(received_.begin(), taken, buffer);
    received_.erase(received_.begin(), received_.begin() + taken);
    return taken;
}

void InterfaceAndMeter::purgeTransmit(SimTime now) {
    // The byte already on the wire finishes; the ones behind it are dropped.
    const SimDuration byteTime = format_.byteTime();
    while (!sending_.empty() && sending_.back().arrivesAt - byteTime > now) sending_.pop_back();
    sendLineFreeAt_ = sending_.empty() ? now : sending_.back().arrivesAt;
}

void InterfaceAndMeter::setDtr(bool on, SimTime now) {
    advance(now);
    refreshContact(now);
    const bool wasOn = dtr_;
    dtr_ = on;
    if (on && !wasOn && canPowerMeter()) powerUp(now);
    if (!on && wasOn) powerDown();
}

void InterfaceAndMeter::setRts(bool on, SimTime now) {
    advance(now);
    refreshContact(now);
    rts_ = on;
    refreshContact(now);
}

void InterfaceAndMeter::release(SimTime now) {
    setDtr(false, now);
    setRts(false, now);
    sending_.clear();
    returning_.clear();
    received_.clear();
    extraDueAt_.reset();
}

int InterfaceAndMeter::advance(SimTime now) {
    const auto before = static_cast<int>(received_.size());
    for (auto next = nextEventAt(); next && *next <= now; next = nextEventAt()) processNextEvent();
    return std::max(0, static_cast<int>(received_.size()) - before);
}

std::optional<SimTime> InterfaceAndMeter::nextEventAt() const {
    std::optional<SimTime> next = extraDueAt_;
    auto earlier = [&next](SimTime t) {
        if (!next || t < *next) next = t;
    };
    if (!sending_.empty()) earlier(sending_.front().arrivesAt);
    if (!returning_.empty()) earlier(returning_.begin()->first);
    return next;
}

void InterfaceAndMeter::processNextEvent() {
    const SimTime sendAt = sending_.empty() ? SimTime::max() : sending_.front().arrivesAt;
    const SimTime returnAt = returning_.empty() ? SimTime::max() : returning_.begin()->first;
    const SimTime extraAt = extraDueAt_.value_or(SimTime::max());
    if (sendAt <= returnAt && sendAt <= extraAt) {
        const Sending byte = sending_.front();
        sending_.pop_front();
        arriveAtInterface(byte.byte, byte.arrivesAt);
    } else if (returnAt <= extraAt) {
        const Returning byte = returning_.begin()->second;
        returning_.erase(returning_.begin());
        deliver(byte);
    } else {
        extraDueAt_.reset();
        sendBack(extraAt, ExtraAnswer, true);
    }
}

void InterfaceAndMeter::arriveAtInterface(std::uint8_t byte, SimTime at) {
    if (gone_ || fault_.kind == FaultKind::NoInterface) return;
    if (fault_.kind == FaultKind::DisappearAfter && ++arrivedSinceFault_ >= fault_.count) {
        unplug();
        return;
    }
    // The interface loops the byte back as it comes in, so its echo ends with it.
    sendBack(at, byte, false);
    const auto answer = meterAnswer(byte, at);
    if (!answer) return;
    const SimDuration delay = fault_.kind == FaultKind::SlowAnswers ? fault_.delay : SimDuration{};
    sendBack(std::max(at, returnLineFreeAt_) + format_.byteTime() + delay, *answer, true);
}

std::optional<std::uint8_t> InterfaceAndMeter::meterAnswer(std::uint8_t byte, SimTime at) {
    extraDueAt_.reset();
    if (fault_.kind == FaultKind::NoMeter || !format_.meterUnderstands()) return std::nullopt;
    if (!powered_ || at < readyAt_) return std::nullopt;
    if (lastMeterByteAt_ && at - *lastMeterByteAt_ > timing_.frameGap) protocol_.reset();
    lastMeterByteAt_ = at;
    MeterProtocol::Answer answer = protocol_.receive(byte, stored_);
    if (answer.stored) ++imagesStored_;
    if (answer.toCommand && fault_.kind == FaultKind::WrongAnswer) answer.byte = WrongCommandAnswer;
    if (answer.endsPart && fault_.kind == FaultKind::ExtraByte)
        extraDueAt_ = at + format_.byteTime() + timing_.extraByteQuiet;
    return answer.byte;
}

void InterfaceAndMeter::sendBack(SimTime at, std::uint8_t byte, bool fromMeter) {
    returnLineFreeAt_ = std::max(returnLineFreeAt_, at);
    returning_.emplace(at, Returning{byte, fromMeter});
}

void InterfaceAndMeter::deliver(const Returning& returning) {
    if (fault_.kind == FaultKind::StopAfter && returnedSincePowerUp_ >= fault_.count) return;
    ++returnedSincePowerUp_;
    received_.push_back(returning.byte);
}

bool InterfaceAndMeter::canPowerMeter() const {
    return meterPlugged_ && !gone_ && fault_.kind != FaultKind::NoInterface;
}

void InterfaceAndMeter::setMeterPlugged(bool plugged, SimTime now) {
    advance(now);
    refreshContact(now);
    if (plugged == meterPlugged_) return;
    meterPlugged_ = plugged;
    if (!plugged)
        powerDown();
    else if (dtr_ && canPowerMeter())
        powerUp(now);
}

void InterfaceAndMeter::powerUp(SimTime now) {
    powered_ = true;
    readyAt_ = now + timing_.startup;
    ++powerUps_;
    active_ = stored_;
    protocol_.reset();
    contact_.reset();
    lastMeterByteAt_.reset();
    returnedSincePowerUp_ = 0;
}

void InterfaceAndMeter::powerDown() {
    powered_ = false;
    protocol_.reset();
    contact_.reset();
    extraDueAt_.reset();
    // Answers the meter had not finished sending die with its supply.
    std::erase_if(returning_, [](const auto& entry) { return entry.second.fromMeter; });
}

void InterfaceAndMeter::unplug() {
    gone_ = true;
    dtr_ = false;
    rts_ = false;
    powerDown();
    sending_.clear();
    returning_.clear();
    received_.clear();
}

void InterfaceAndMeter::setAnalog(const MeterAnalog& analog, SimTime now) {
    refreshContact(now);
    analog_ = analog;
    refreshContact(now);
}

void InterfaceAndMeter::setInput(double input, SimTime now) {
    refreshContact(now);
    input_ = input;
    refreshContact(now);
}

void InterfaceAndMeter::setFault(const Fault& fault, SimTime now) {
    advance(now);
    fault_ = fault;
    gone_ = false;
    arrivedSinceFault_ = 0;
    returnedSincePowerUp_ = 0;
    if (fault.kind == FaultKind::NoInterface) powerDown();
    if (dtr_ && !powered_ && canPowerMeter()) powerUp(now);
}

std::optional<DisplayedValue> InterfaceAndMeter::displayed(SimTime now) const {
    if (!ready(now)) return std::nullopt;
    return ShowOnDigits(active_, ScaledValue(active_, rawCounts()));
}

ContactState InterfaceAndMeter::contact(SimTime now) {
    refreshContact(now);
    return ready(now) ? contact_.state(active_) : ContactState::Open;
}

void InterfaceAndMeter::refreshContact(SimTime now) {
    if (ready(now)) contact_.update(active_, rawCounts());
}

}  // namespace zmt::sim
