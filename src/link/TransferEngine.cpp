#include "link/TransferEngine.h"

#include "link/IgnorePortFailure.h"
#include "link/MeterStartup.h"

#include "link/SpComPort.h"

#include <algorithm>
#include <cmath>

namespace zmt::link {

// Loading DTR and RTS as off means that every open drives both lines low: the meter
// stays unpowered until someone asks for power.
std::unique_ptr<TSpComPort> MakeRS232(PlatformDeviceFactory factory) {
    auto port = std::make_unique<TSpComPort>(nullptr, QStringLiteral("RS232"), std::move(factory));
    port->setBaudRate(br9600);
    port->setComNumber(1);
    port->setDTR(false);
    port->setRTS(false);
    port->setEventThreadPriority(tpHighest);
    port->setWriteThreadPriority(tpHigher);
    port->Loaded();
    return port;
}

// ---- the port component as the engine's port ----

void SpComPortTransferPort::Close() {
    port_.Close();
}
void SpComPortTransferPort::PurgeRx() {
    port_.PurgeRx();
}
void SpComPortTransferPort::PurgeTx() {
    port_.PurgeTx();
}
int SpComPortTransferPort::InBufUsed() {
    return port_.InBufUsed();
}
std::uint8_t SpComPortTransferPort::ReadChar() {
    return port_.ReadChar();
}
void SpComPortTransferPort::WriteChar(std::uint8_t byte) {
    port_.WriteChar(byte);
}
void SpComPortTransferPort::setDTR(bool on) {
    port_.setDTR(on);
}
void SpComPortTransferPort::setRTS(bool on) {
    port_.setRTS(on);
}

// ---- the engine ----

namespace {

struct TimerSetting {
    const char* name;
    int intervalMs;
    void (TransferEngine::*handler)();
};

constexpr std::array<TimerSetting, TransferEngine::TimerCount> kTimers{{
    {"veryfirsttimer", 400, &TransferEngine::veryfirsttimerTimer},
    {"firsttimer", 400, &TransferEngine::firsttimerTimer},
    {"inittimer", 500, &TransferEngine::inittimerTimer},
    {"inittimer1", 600, &TransferEngine::inittimer1Timer},
    {"inittimer2", MeterStartupMs, &TransferEngine::inittimer2Timer},
    {"writetimer", 40, &TransferEngine::writetimerTimer},
    {"Timer1", 1000, &TransferEngine::Timer1Timer},
}};

}  // namespace

TransferEngine::TransferEngine(TransferState& state, TransferPort& port, Clock& clock,
                               QObject* parent)
    : QObject(parent), state_(state), port_(port) {
    for (int id = 0; id < TimerCount; ++id) {
        const TimerSetting& setting = kTimers[id];
        timers_[id] =
            new OneShotTimer(this, QString::fromLatin1(setting.name), setting.intervalMs, clock);
        timers_[id]->setHandler([this, handler = setting.handler] { (this->*handler)(); });
    }
}

int TransferEngine::ProgressPercent(std::int64_t received, std::int64_t expected) {
    if (expected == 0) return 0;
    const double percent = std::nearbyint(static_cast<double>(received) / expected * 100.0);
    return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

void TransferEngine::SetProgress(int percent) {
    progress_ = percent;
    emit progressChanged(percent);
}

void TransferEngine::Start() {
    if (running_) return;
    running_ = true;
    state_.TransferStarted = true;
    emit started();
    emit memoCleared();
    IgnorePortFailure([this] { port_.Close(); });
    Enable(veryfirsttimer, true);
    emit memoLineAdded(QStringLiteral("reset..."));
    SetProgress(0);
}

void TransferEngine::veryfirsttimerTimer() {
    Enable(veryfirsttimer, false);
    if (setPortLines_) setPortLines_(false, false);
    Enable(firsttimer, true);
}

void TransferEngine::firsttimerTimer() {
    Enable(firsttimer, false);
    Enable(inittimer, true);
}

void TransferEngine::inittimerTimer() {
    IgnorePortFailure([this] { port_.setRTS(false); });
    Enable(inittimer, false);
    Enable(inittimer1, true);
    IgnorePortFailure([this] { port_.PurgeRx(); });
}

void TransferEngine::inittimer1Timer() {
    IgnorePortFailure([this] { port_.setDTR(true); });
    Enable(inittimer1, false);
    Enable(inittimer2, true);
    IgnorePortFailure([this] { port_.PurgeRx(); });
}

void TransferEngine::inittimer2Timer() {
    IgnorePortFailure([this] { port_.PurgeRx(); });
    Enable(inittimer2, false);
    state_.ReceiveCount = 0;
    state_.NextByte = static_cast<std::uint8_t>(state_.SendBuffer[0] & 0xFF);
    state_.ReceiveTimedOut = false;
    state_.ByteReceived = false;
    Enable(writetimer, true);
    Enable(Timer1, true);
    emit memoCleared();
    emit memoLineAdded(QStringLiteral("transfer data..."));
}

void TransferEngine::writetimerTimer() {
    Enable(writetimer, false);
    IgnorePortFailure([this] { port_.WriteChar(state_.NextByte); });
}

void TransferEngine::RS232DataRecived() {
    if (!timer(Timer1).enabled()) {
        if (!running_ && idleBytesKept_) return;
        // Nothing is exchanged yet (or any more): whatever comes now is noise.
        IgnorePortFailure([this] { port_.PurgeRx(); });
        IgnorePortFailure([this] { port_.PurgeTx(); });
        return;
    }
    Enable(Timer1, false);
    IgnorePortFailure([this] { ReceiveWaitingBytes(); });
    if (Overrun()) {
        EndExchange();
        return;
    }
    // Re-armed whatever the read did, so that the time-out still ends the exchange.
    Enable(Timer1, true);
}

// More bytes than the data check accepts: the exchange has failed whatever follows, and a
// device that never falls silent would otherwise hold the exchange open for ever.
bool TransferEngine::Overrun() const {
    return static_cast<std::int64_t>(state_.ReceiveCount) >
           static_cast<std::int64_t>(state_.ExpectedCount) + 1;
}

// The echo and the meter's answer often arrive under one notification; a byte left
// waiting would only be seen at the port's next poll, 200 ms later, and such pauses make
// the meter start its frame anew. So every byte waiting now is taken, one by one.
void TransferEngine::ReceiveWaitingBytes() {
    // A notification may find the byte already taken; reading then would fail.
    for (int waiting = port_.InBufUsed(); waiting > 0 && !Overrun(); --waiting) ReceiveOneByte();
}

void TransferEngine::ReceiveOneByte() {
    state_.StoreReceived(port_.ReadChar());
    if (state_.ExpectedCount != 0)
        SetProgress(ProgressPercent(state_.ReceiveCount, state_.ExpectedCount));
    state_.ByteReceived = true;
    SendNextByteAfterAnswers();
}

// The next byte goes out once the echo and the meter's answer to the last one are in.
void TransferEngine::SendNextByteAfterAnswers() {
    const std::int32_t count = state_.ReceiveCount;
    if (state_.TransferKind == 1 || count % 2 != 0 || count >= state_.ExpectedCount) return;
    const std::int32_t next = count / 2;
    if (next >= TransferState::SendCapacity) return;
    state_.NextByte = static_cast<std::uint8_t>(state_.SendBuffer[next] & 0xFF);
    Enable(writetimer, true);
}

void TransferEngine::Timer1Timer() {
    Enable(Timer1, false);
    state_.ReceiveTimedOut = true;
    EndExchange();
}

void TransferEngine::ClosePort() {
    IgnorePortFailure([this] { port_.Close(); });
}

void TransferEngine::Cancel() {
    for (OneShotTimer* timer : timers_) timer->setEnabled(false);
    running_ = false;
    ClosePort();
}

// The transfer window closes with the end of the exchange, and with it the port.
void TransferEngine::EndExchange() {
    Enable(writetimer, false);
    running_ = false;
    ClosePort();
    emit exchangeEnded();
}

}  // namespace zmt::link

#include "moc_TransferEngine.cpp"
