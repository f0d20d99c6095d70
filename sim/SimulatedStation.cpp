#include "sim/SimulatedStation.h"

#include <algorithm>

namespace zmt::sim {

namespace {

LineFormat FormatOf(const link::CommState& state) {
    return {state.BaudRate, state.ByteSize, state.Parity, state.StopBits};
}

// A fresh port driver starts at 9600 8N1.
link::CommState DefaultCommState() {
    link::CommState state;
    state.BaudRate = 9600;
    state.Flags = link::dcb::Binary;
    return state;
}

}  // namespace

SimulatedStation::SimulatedStation(int comNumber, LineTiming timing, ImageWords stored,
                                   Clock& clock)
    : comNumber_(comNumber),
      clock_(clock),
      virtual_(clock.virtualClock()),
      line_(timing, stored),
      commState_(DefaultCommState()) {
    if (virtual_) clockListener_ = virtual_->subscribe([this] { ClockMoved(); });
}

SimulatedStation::~SimulatedStation() {
    if (virtual_) virtual_->unsubscribe(clockListener_);
}

// The wire has moved on with the clock; a waiting port must look at it.
void SimulatedStation::ClockMoved() {
    Lock lock(mutex_);
    catchUp(now());
    changed_.notify_all();
}

bool SimulatedStation::PortWaiting() {
    Lock lock(mutex_);
    return waiting_;
}

bool SimulatedStation::Quiescent() {
    Lock lock(mutex_);
    if (!usable()) return true;
    const bool deadlinePassed = waitingDeadline_ && now() >= *waitingDeadline_;
    return waiting_ && pendingEvents_ == 0 && !cancelRequested_ &&
           waitingGeneration_ == maskGeneration_ && !deadlinePassed;
}

// The wire's next event, or the end of the meter's start-up, when its display appears.
std::optional<SimTime> SimulatedStation::NextEventAt() {
    Lock lock(mutex_);
    std::optional<SimTime> next = line_.nextEventAt();
    const SimTime present = now();
    if (line_.powered() && present < line_.readyAt() && (!next || line_.readyAt() < *next))
        next = line_.readyAt();
    return next;
}

void SimulatedStation::SetActivityListener(std::function<void()> listener) {
    Lock lock(mutex_);
    activityListener_ = std::move(listener);
}

void SimulatedStation::SetLineListener(std::function<void(SimTime, bool, bool)> listener) {
    Lock lock(mutex_);
    lineListener_ = std::move(listener);
}

void SimulatedStation::TellLines(SimTime at, bool dtrBefore, bool rtsBefore) {
    if (lineListener_ && (line_.dtr() != dtrBefore || line_.rts() != rtsBefore))
        lineListener_(at, line_.dtr(), line_.rts());
}

link::OpenResult SimulatedStation::attach() {
    Lock lock(mutex_);
    link::OpenResult result;
    result.path = "simulated COM" + std::to_string(comNumber_);
    if (line_.gone()) {
        result.failure = link::OpenFailure::NoSuchDevice;
    } else if (attached_) {
        result.failure = link::OpenFailure::Busy;
    } else {
        attached_ = true;
        commState_ = DefaultCommState();
        line_.setFormat(FormatOf(commState_));
        eventMask_ = pendingEvents_ = 0;
        cancelRequested_ = false;
    }
    return result;
}

void SimulatedStation::detach() {
    Lock lock(mutex_);
    if (!attached_) return;
    const bool dtr = line_.dtr(), rts = line_.rts();
    line_.release(now());
    TellLines(now(), dtr, rts);
    attached_ = false;
    changed_.notify_all();
}

bool SimulatedStation::setEventMask(std::uint32_t mask) {
    Lock lock(mutex_);
    if (!usable()) return false;
    eventMask_ = mask;
    pendingEvents_ &= mask;
    ++maskGeneration_;
    changed_.notify_all();
    return true;
}

bool SimulatedStation::setCommState(const link::CommState& state) {
    Lock lock(mutex_);
    if (!usable()) return false;
    catchUp(now());
    commState_ = state;
    line_.setFormat(FormatOf(state));
    return true;
}

bool SimulatedStation::getCommState(link::CommState& state) {
    Lock lock(mutex_);
    if (!usable()) return false;
    state = commState_;
    return true;
}

bool SimulatedStation::lineFunction(link::LineFunction function) {
    Lock lock(mutex_);
    if (!usable()) return false;
    const SimTime present = now();
    catchUp(present);
    const bool dtr = line_.dtr(), rts = line_.rts();
    switch (function) {
        case link::LineFunction::SetDtr:
            line_.setDtr(true, present);
            break;
        case link::LineFunction::ClrDtr:
            line_.setDtr(false, present);
            break;
        case link::LineFunction::SetRts:
            line_.setRts(true, present);
            break;
        case link::LineFunction::ClrRts:
            line_.setRts(false, present);
            break;
    }
    TellLines(present, dtr, rts);
    changed_.notify_all();
    return true;
}

bool SimulatedStation::status(link::CommStatus& status) {
    Lock lock(mutex_);
    catchUp(now());
    status = {};
    if (line_.gone()) status.errors = link::ce::IoError;
    if (!usable()) return false;
    status.bytesWaiting = static_cast<std::uint32_t>(line_.bytesWaiting());
    status.outQueue = static_cast<std::uint32_t>(line_.bytesToSend());
    return true;
}

int SimulatedStation::read(std::uint8_t* buffer, int count) {
    Lock lock(mutex_);
    catchUp(now());
    if (!usable()) return -1;
    return line_.takeReceived(buffer, std::max(count, 0));
}

int SimulatedStation::write(const std::uint8_t* buffer, int count) {
    Lock lock(mutex_);
    const SimTime present = now();
    catchUp(present);
    if (!usable()) return -1;
    line_.hostWrite(buffer, std::max(count, 0), present);
    changed_.notify_all();
    return std::max(count, 0);
}

bool SimulatedStation::purge(std::uint32_t flags) {
    Lock lock(mutex_);
    const SimTime present = now();
    catchUp(present);
    if (!usable()) return false;
    if (flags & (link::purge::RxClear | link::purge::RxAbort)) line_.purgeReceived();
    if (flags & (link::purge::TxClear | link::purge::TxAbort)) line_.purgeTransmit(present);
    changed_.notify_all();
    return true;
}

link::WaitResult SimulatedStation::waitEvent(int timeoutMs, std::uint32_t& mask) {
    Lock lock(mutex_);
    const std::uint64_t generation = maskGeneration_;
    const std::optional<SimTime> deadline =
        timeoutMs < 0 ? std::nullopt : std::optional<SimTime>(now() + milliseconds(timeoutMs));
    for (;;) {
        const SimTime present = now();
        catchUp(present);
        if (auto outcome = waitOutcome(generation, mask)) return *outcome;
        if (deadline && present >= *deadline) return link::WaitResult::TimedOut;
        if (virtual_) {
            WaitForTheClock(generation, deadline, lock);
            continue;
        }
        std::optional<SimTime> wake = line_.nextEventAt();
        if (deadline && (!wake || *deadline < *wake)) wake = deadline;
        waiting_ = true;
        if (wake)
            changed_.wait_until(lock, *wake);
        else
            changed_.wait(lock);
        waiting_ = false;
    }
}

// Virtual time moves only when the test sees every port waiting; it wakes the wait when it
// does. The real-time bound only guards against a lost wake-up.
void SimulatedStation::WaitForTheClock(std::uint64_t generation,
                                       const std::optional<SimTime>& deadline, Lock& lock) {
    waiting_ = true;
    waitingGeneration_ = generation;
    waitingDeadline_ = deadline;
    if (activityListener_) activityListener_();
    changed_.wait_for(lock, std::chrono::milliseconds(100));
    waiting_ = false;
}

std::optional<link::WaitResult> SimulatedStation::waitOutcome(std::uint64_t generation,
                                                              std::uint32_t& mask) {
    if (!usable()) return link::WaitResult::Failed;
    if (cancelRequested_) {
        cancelRequested_ = false;
        return link::WaitResult::Cancelled;
    }
    if (generation != maskGeneration_) {
        mask = 0;
        return link::WaitResult::Event;
    }
    if (pendingEvents_ == 0) return std::nullopt;
    mask = pendingEvents_;
    pendingEvents_ = 0;
    return link::WaitResult::Event;
}

void SimulatedStation::cancelWait() {
    Lock lock(mutex_);
    cancelRequested_ = true;
    changed_.notify_all();
}

void SimulatedStation::catchUp(SimTime now) {
    const bool wasSending = line_.bytesToSend() > 0;
    const bool wasGone = line_.gone();
    if (line_.advance(now) > 0) raise(link::ev::RxChar);
    if (wasSending && line_.bytesToSend() == 0) raise(link::ev::TxEmpty);
    if (!wasGone && line_.gone()) changed_.notify_all();
}

void SimulatedStation::raise(std::uint32_t events) {
    pendingEvents_ |= events & eventMask_;
}

void SimulatedStation::setInput(double input) {
    Lock lock(mutex_);
    line_.setInput(input, now());
}

void SimulatedStation::setAnalog(const MeterAnalog& analog) {
    Lock lock(mutex_);
    line_.setAnalog(analog, now());
}

void SimulatedStation::setOffsetError(double counts) {
    MeterAnalog a = analog();
    a.offsetError = counts;
    setAnalog(a);
}

void SimulatedStation::setGainError(double factor) {
    MeterAnalog a = analog();
    a.gainError = factor;
    setAnalog(a);
}

void SimulatedStation::setFullScale(double fullScale) {
    MeterAnalog a = analog();
    a.fullScale = fullScale;
    setAnalog(a);
}

void SimulatedStation::setFault(const Fault& fault) {
    Lock lock(mutex_);
    line_.setFault(fault, now());
    changed_.notify_all();
}

void SimulatedStation::setStoredImage(const ImageWords& image) {
    Lock lock(mutex_);
    line_.setStoredImage(image);
}

void SimulatedStation::setMeterPlugged(bool plugged) {
    Lock lock(mutex_);
    line_.setMeterPlugged(plugged, now());
    changed_.notify_all();
}

bool SimulatedStation::meterPlugged() {
    Lock lock(mutex_);
    return line_.meterPlugged();
}

bool SimulatedStation::isAttached() {
    Lock lock(mutex_);
    return attached_;
}

bool SimulatedStation::dtr() {
    Lock lock(mutex_);
    return line_.dtr();
}

bool SimulatedStation::rts() {
    Lock lock(mutex_);
    return line_.rts();
}

bool SimulatedStation::powered() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.powered();
}

bool SimulatedStation::ready() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.ready(now());
}

bool SimulatedStation::gone() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.gone();
}

ImageWords SimulatedStation::storedImage() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.storedImage();
}

ImageWords SimulatedStation::activeImage() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.activeImage();
}

MeterAnalog SimulatedStation::analog() {
    Lock lock(mutex_);
    return line_.analog();
}

std::optional<DisplayedValue> SimulatedStation::displayed() {
    Lock lock(mutex_);
    const SimTime present = now();
    catchUp(present);
    return line_.displayed(present);
}

std::string SimulatedStation::displayText() {
    const auto shown = displayed();
    return shown ? shown->text : std::string();
}

ContactState SimulatedStation::contact() {
    Lock lock(mutex_);
    const SimTime present = now();
    catchUp(present);
    return line_.contact(present);
}

int SimulatedStation::powerUps() {
    Lock lock(mutex_);
    return line_.powerUps();
}

int SimulatedStation::imagesStored() {
    Lock lock(mutex_);
    catchUp(now());
    return line_.imagesStored();
}

}  // namespace zmt::sim
