#include "link/SpComPort.h"

#include "link/SpSafeSync.h"

#include <array>
#include <cstdio>
#include <utility>

namespace zmt::link {
namespace {

constexpr std::array<std::uint32_t, 15> BaudRates{110,   300,   600,    1200,   2400,
                                                  4800,  9600,  14400,  19200,  38400,
                                                  56000, 57600, 115200, 128000, 256000};
constexpr std::array<std::uint32_t, 4> FlowControlFlags{
    0, dcb::OutX | dcb::InX, dcb::OutxCtsFlow | dcb::RtsControlHandshake,
    dcb::OutxDsrFlow | dcb::DtrControlHandshake};
constexpr std::array<std::uint32_t, 5> OptionFlags{
    dcb::ParityCheck, dcb::DsrSensitivity, dcb::TxContinueOnXoff, dcb::ErrorChar, dcb::Null};

template <typename T>
bool assignChanged(T& member, T value) {
    if (member == value) return false;
    member = std::move(value);
    return true;
}

// Tells the owner while a device opens, also when the open fails (a window shows the
// hourglass).
class OpeningNotice {
  public:
    explicit OpeningNotice(const std::function<void(bool)>& hook) : hook_(hook) {
        if (hook_) hook_(true);
    }
    ~OpeningNotice() {
        if (hook_) hook_(false);
    }
    OpeningNotice(const OpeningNotice&) = delete;
    OpeningNotice& operator=(const OpeningNotice&) = delete;

  private:
    const std::function<void(bool)>& hook_;
};

}  // namespace

CommState BuildCommState(const TSpPortSettings& s) {
    CommState state{};
    state.DCBlength = 28;
    state.BaudRate = s.baudRate == brUser ? static_cast<std::uint32_t>(s.userBaudRate)
                                          : BaudRates.at(s.baudRate);
    state.ByteSize = static_cast<std::uint8_t>(4 + s.databits);
    state.Parity = static_cast<std::uint8_t>(s.parity);
    state.StopBits = static_cast<std::uint8_t>(s.stopbits);
    state.XonChar = s.xonChar;
    state.XoffChar = s.xoffChar;
    state.XonLim = s.xonLim;
    state.XoffLim = s.xoffLim;
    state.Flags = FlowControlFlags.at(s.flowControl) | dcb::Binary;
    for (std::size_t option = 0; option < OptionFlags.size(); ++option)
        if (s.options & (1u << option)) state.Flags |= OptionFlags[option];
    if (s.dtr && s.flowControl != fwDtrDsr) state.Flags |= dcb::DtrControlEnable;
    if (s.rts && s.flowControl != fwRtsCts) state.Flags |= dcb::RtsControlEnable;
    return state;
}

TSpComPort::TSpComPort(QObject* parent, const QString& name, PlatformDeviceFactory factory)
    : QObject(parent), core_(std::make_unique<TSpComPortCore>(std::move(factory))) {
    setObjectName(name);
    syncId_ = SafeSyncRegister([this](int) { DeliverSyncEvent(); });
    core_->SetCallback([this](TSpCoreEvent kind, std::uint32_t data, std::exception_ptr error) {
        HandleCoreEvent(kind, data, std::move(error));
    });
    core_->SetFailureHandler(SafeSyncRaise);
    RebuildCommState();
}

TSpComPort::~TSpComPort() {
    destroying_ = true;
    SafeSyncSetEnabled(syncId_, false);
    core_.reset();
    SafeSyncUnregister(syncId_);
}

void TSpComPort::Loaded() {
    if (autoOpen_)
        Open();
    else
        RebuildCommState();
}

void TSpComPort::RebuildCommState() {
    commState_ = BuildCommState(settings_);
    try {
        core_->SetCommState(commState_);
    } catch (...) {
        commState_ = core_->GetCommState();
        throw;
    }
}

void TSpComPort::Open() {
    if (core_->Opened()) return;
    SafeSyncSetEnabled(syncId_, true);
    // The device comes up with DTR and RTS low; remembering that lets the next assignment
    // of True drive the line (else the power switch shows "on" over an unpowered meter).
    settings_.dtr = false;
    settings_.rts = false;
    RebuildCommState();
    core_->SetQueueSizes(inBufSize_, outBufSize_);
    core_->SetThreadPriorities(eventPriority_, writePriority_);
    closing_ = false;
    OpenCore();
    if (OnPortOpen) OnPortOpen(this);
}

void TSpComPort::OpenCore() {
    OpeningNotice notice(OnOpening);
    core_->OpenPort(comNumber_);
}

void TSpComPort::Close() {
    closing_ = true;
    struct ClearClosing {
        std::atomic<bool>& flag;
        ~ClearClosing() { flag = false; }
    } clearClosing{closing_};
    SafeSyncSetEnabled(syncId_, false);
    if (core_->Opened()) core_->ClosePort();
    {
        std::lock_guard lock(notificationMutex_);
        notification_ = Notification{};
    }
    if (OnPortClose) OnPortClose(this);
}

bool TSpComPort::IsOpen() const {
    return core_->Opened();
}

int TSpComPort::ComNumber() const {
    return comNumber_;
}

void TSpComPort::setComNumber(int number) {
    if (number == comNumber_) return;
    if (!IsOpen()) {
        comNumber_ = number;
        return;
    }
    Close();
    comNumber_ = number;
    Open();
}

TSpBaudrate TSpComPort::BaudRate() const {
    return settings_.baudRate;
}

void TSpComPort::setBaudRate(TSpBaudrate rate) {
    if (!assignChanged(settings_.baudRate, rate)) return;
    if (rate != brUser) settings_.userBaudRate = 0;
    RebuildCommState();
}

void TSpComPort::setUserBaudRate(int rate) {
    if (!assignChanged(settings_.userBaudRate, rate)) return;
    settings_.baudRate = brUser;
    RebuildCommState();
}

void TSpComPort::setDatabits(TSpDatabits bits) {
    if (assignChanged(settings_.databits, bits)) RebuildCommState();
}

void TSpComPort::setParity(TSpParity parity) {
    if (assignChanged(settings_.parity, parity)) RebuildCommState();
}

void TSpComPort::setStopbits(TSpStopbits bits) {
    if (assignChanged(settings_.stopbits, bits)) RebuildCommState();
}

void TSpComPort::setOptions(TSpComOptions options) {
    if (assignChanged(settings_.options, options)) RebuildCommState();
}

void TSpComPort::setXOnChar(char c) {
    if (assignChanged(settings_.xonChar, c)) RebuildCommState();
}

void TSpComPort::setXOffChar(char c) {
    if (assignChanged(settings_.xoffChar, c)) RebuildCommState();
}

void TSpComPort::setFlowControl(TSpFlowControl flow) {
    if (!assignChanged(settings_.flowControl, flow)) return;
    RecomputeLimits();
    RebuildCommState();
}

void TSpComPort::RecomputeLimits() {
    if (settings_.flowControl == fwNone) {
        settings_.xonLim = 0;
        settings_.xoffLim = 0;
        return;
    }
    settings_.xonLim = static_cast<std::uint16_t>(inBufSize_ / 4);
    settings_.xoffLim = static_cast<std::uint16_t>(inBufSize_ - inBufSize_ / 4);
}

void TSpComPort::setXOnLim(std::uint16_t limit) {
    if (!assignChanged(settings_.xonLim, limit)) return;
    settings_.xoffLim = static_cast<std::uint16_t>(inBufSize_ - limit);
}

void TSpComPort::setXOffLim(std::uint16_t limit) {
    if (!assignChanged(settings_.xoffLim, limit)) return;
    settings_.xonLim = static_cast<std::uint16_t>(inBufSize_ - limit);
}

void TSpComPort::setInBufSize(int size) {
    if (size == inBufSize_) return;
    if (IsOpen()) RaiseError("Port is not closed");
    inBufSize_ = size;
    RecomputeLimits();
}

void TSpComPort::setOutBufSize(int size) {
    if (size == outBufSize_) return;
    if (IsOpen()) RaiseError("Port is not closed");
    outBufSize_ = size;
}

bool TSpComPort::DTR() const {
    return settings_.dtr;
}
bool TSpComPort::RTS() const {
    return settings_.rts;
}

void TSpComPort::setDTR(bool on) {
    DriveLine(on, settings_.dtr, LineFunction::SetDtr, LineFunction::ClrDtr);
}

void TSpComPort::setRTS(bool on) {
    DriveLine(on, settings_.rts, LineFunction::SetRts, LineFunction::ClrRts);
}

// Lines are driven only on a change; the record is not rebuilt for them.
void TSpComPort::DriveLine(bool on, bool& remembered, LineFunction set, LineFunction clear) {
    if (on != remembered && core_->Active()) core_->LineFunction(on ? set : clear);
    remembered = on;
}

void TSpComPort::PurgeRx() {
    if (!closing_ && core_->Active()) core_->PurgeInput();
}

void TSpComPort::PurgeTx() {
    if (!closing_ && core_->Active()) core_->PurgeOutput();
}

void TSpComPort::RaiseError(const std::string& message) const {
    throw ESpComPortError(message + " - " + objectName().toStdString() + " ");
}

void TSpComPort::ReadData(std::uint8_t* buffer, int count) {
    if (closing_) return;
    if (core_->Read(buffer, count) != count) RaiseError("Read data error");
}

void TSpComPort::WriteData(const std::uint8_t* buffer, int count) {
    if (closing_ || core_->Write(buffer, count)) return;
    char text[96];
    std::snprintf(text, sizeof text, "Write data error [requested: %d, free: %d]", count,
                  OutBufFree());
    RaiseError(text);
}

std::uint8_t TSpComPort::ReadChar() {
    std::uint8_t c = 0;
    ReadData(&c, 1);
    return c;
}

void TSpComPort::WriteChar(std::uint8_t c) {
    WriteData(&c, 1);
}

int TSpComPort::InBufUsed() {
    if (!core_->Active()) return 0;
    return static_cast<int>(core_->GetStatus().bytesWaiting);
}

int TSpComPort::OutBufFree() {
    return core_->OutBufFree();
}

int TSpComPort::OutBufUsed() {
    return core_->OutBufUsed();
}

// Event thread: hand the report to the user-interface thread and wait for it there.
void TSpComPort::HandleCoreEvent(TSpCoreEvent kind, std::uint32_t data, std::exception_ptr error) {
    if (closing_ || destroying_) return;
    if (kind != ceException && OnNonSyncEvent) {
        OnNonSyncEvent(this, kind, data);
        return;
    }
    {
        std::lock_guard lock(notificationMutex_);
        notification_ = Notification{true, kind, data, std::move(error)};
    }
    // A refused or abandoned hand-off is dropped silently; the next report replaces it.
    SafeSyncCall(syncId_, core_limits::HandOffMs);
}

// User-interface thread. A hand-off that timed out may come up late: it then delivers the
// newest report once, never one that was already delivered.
void TSpComPort::DeliverSyncEvent() {
    if (closing_ || destroying_) return;
    Notification n;
    {
        std::lock_guard lock(notificationMutex_);
        n = std::exchange(notification_, Notification{});
    }
    if (!n.pending) return;
    if (OnSyncEvent) OnSyncEvent(this, n.kind, n.data);
    switch (n.kind) {
        case ceOutBufFree:
            if (OnOutBufFree) OnOutBufFree(this);
            break;
        case ceLineEvent:
            DeliverLineEvent(n.data);
            break;
        case ceDataAvailable:
            if (OnDataRecived) OnDataRecived(this, static_cast<int>(n.data));
            break;
        case ceException:
            if (n.error) std::rethrow_exception(n.error);
            break;
    }
}

void TSpComPort::DeliverLineEvent(std::uint32_t mask) {
    if ((mask & ev::RxChar) && OnDataRecived) OnDataRecived(this, InBufUsed());
    const std::uint32_t errors = core_->TakeErrors();
    if ((mask & ev::Err) && OnLineError) OnLineError(this, errors);
    const std::array<std::pair<std::uint32_t, std::function<void(TSpComPort*)>*>, 4> lineEvents{{
        {ev::Cts, &OnCTSChanged},
        {ev::Dsr, &OnDSRChanged},
        {ev::Ring, &OnRINGDetected},
        {ev::Rlsd, &OnRLSDChanged},
    }};
    for (const auto& [bit, handler] : lineEvents)
        if ((mask & bit) && *handler) (*handler)(this);
}

}  // namespace zmt::link

#include "moc_SpComPort.cpp"
