#include "link/InterfaceProbe.h"

#include "common/OneShotTimer.h"
#include "link/SpComPort.h"
#include "link/SystemDevice.h"

namespace zmt::link {

namespace {

ProbeOutcome OutcomeOfOpenFailure(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::NoSuchDevice:
            return ProbeOutcome::Vanished;
        case OpenFailure::Busy:
            return ProbeOutcome::Busy;
        case OpenFailure::PermissionDenied:
            return ProbeOutcome::NoPermission;
        case OpenFailure::NotSerial:
            return ProbeOutcome::NotSerial;
        default:
            return ProbeOutcome::NoInterface;
    }
}

}  // namespace

std::unique_ptr<TSpComPort> MakeProbePort(PlatformDeviceFactory factory, int number) {
    auto port = std::make_unique<TSpComPort>(nullptr, QStringLiteral("probe"), std::move(factory));
    port->setBaudRate(br9600);
    port->setComNumber(number);
    port->setDTR(false);
    port->setRTS(false);
    port->Loaded();
    return port;
}

ProbePortFactory TerminalProbePorts() {
    return [](const QString& devicePath) {
        const std::string path = devicePath.toStdString();
        return MakeProbePort([path] { return MakeSystemDeviceAt(path); }, 1);
    };
}

InterfaceProbe::InterfaceProbe(ProbePortFactory ports, Clock& clock, QObject* parent)
    : QObject(parent),
      ports_(std::move(ports)),
      quietTimer_(new OneShotTimer(this, QStringLiteral("quiettimer"), QuietMs, clock)),
      echoTimer_(new OneShotTimer(this, QStringLiteral("echotimer"), EchoWaitMs, clock)) {
    quietTimer_->setHandler([this] { sendCommand(); });
    echoTimer_->setHandler([this] { conclude(ProbeOutcome::NoInterface); });
}

InterfaceProbe::~InterfaceProbe() {
    closePort();
}

void InterfaceProbe::start(std::vector<PortEntry> devices) {
    cancel();
    devices_ = std::move(devices);
    results_.clear();
    next_ = 0;
    running_ = true;
    ++run_;
    schedule(&InterfaceProbe::probeNext);
}

void InterfaceProbe::cancel() {
    if (!running_) return;
    ++run_;
    quietTimer_->setEnabled(false);
    echoTimer_->setEnabled(false);
    closePort();
    running_ = false;
    emit finished(true);
}

std::vector<PortEntry> InterfaceProbe::found() const {
    std::vector<PortEntry> found;
    for (const ProbeResult& result : results_)
        if (result.outcome == ProbeOutcome::Found) found.push_back(result.entry);
    return found;
}

bool InterfaceProbe::settled() const {
    return !port_ || port_->OutBufUsed() == 0;
}

bool InterfaceProbe::awaitingQuiet() const {
    return quietTimer_->enabled();
}

// Steps run from the event loop, never inside a notification of the port they close.
void InterfaceProbe::schedule(void (InterfaceProbe::*step)()) {
    QMetaObject::invokeMethod(
        this,
        [this, step, run = run_] {
            if (run == run_ && running_) (this->*step)();
        },
        Qt::QueuedConnection);
}

// Devices that need no waiting (busy, gone, refused) are settled in the same step. A slot
// may cancel the run at any signal.
void InterfaceProbe::probeNext() {
    while (running_ && next_ < devices_.size()) {
        emit probing(static_cast<int>(next_), static_cast<int>(devices_.size()));
        if (!running_) return;
        const PortEntry& entry = devices_[next_];
        outcome_.reset();
        failure_ = entry.busy ? OpenFailure::Busy : OpenFailure::None;
        outcome_ = entry.busy ? std::optional(ProbeOutcome::Busy) : openAndSend(entry);
        if (!outcome_) return;  // waiting for the echo
        record(*outcome_);
    }
    if (!running_) return;
    running_ = false;
    emit finished(false);
}

// Opens the device and sends the command byte; the outcome when that already decides.
std::optional<ProbeOutcome> InterfaceProbe::openAndSend(const PortEntry& entry) {
    try {
        port_ = ports_(entry.devicePath);
        port_->OnDataRecived = [this](TSpComPort*, int) { bytesArrived(); };
        port_->OnLineError = [this](TSpComPort*, std::uint32_t errors) {
            if (errors & ce::IoError) conclude(ProbeOutcome::Vanished);
        };
        port_->Open();  // comes up with DTR and RTS low
        port_->PurgeRx();
        port_->PurgeTx();
        quietWaits_ = 1;
        quietTimer_->setEnabled(true);
        return std::nullopt;
    } catch (const ESpComPortCoreError& error) {
        closePort();
        failure_ = error.failure();
        return OutcomeOfOpenFailure(error.failure());
    } catch (const std::exception&) {
        closePort();
        return ProbeOutcome::NoInterface;
    }
}

// The command byte goes out on a quiet line, so that nothing but the echo can come first.
void InterfaceProbe::sendCommand() {
    quietTimer_->setEnabled(false);
    try {
        port_->PurgeRx();
        port_->WriteChar(CommandByte);
        echoTimer_->setEnabled(true);
    } catch (const std::exception&) {
        conclude(ProbeOutcome::NoInterface);
    }
}

// Before the command byte, whatever comes in is the remains of something else (a meter
// losing its supply as the program's port let go of it sends a byte or two): it is dropped
// and the quiet wait starts over. Afterwards the first byte decides: the interface echoes
// the command byte before anything else.
void InterfaceProbe::bytesArrived() {
    if (!port_ || outcome_ || port_->InBufUsed() <= 0) return;
    try {
        if (quietTimer_->enabled()) return keepQuiet();
        conclude(port_->ReadChar() == CommandByte ? ProbeOutcome::Found
                                                  : ProbeOutcome::NoInterface);
    } catch (const std::exception&) {
        conclude(ProbeOutcome::NoInterface);
    }
}

// A device that never falls silent is no interface: the interface speaks only when asked.
void InterfaceProbe::keepQuiet() {
    port_->PurgeRx();
    if (++quietWaits_ > QuietWaits) return conclude(ProbeOutcome::NoInterface);
    quietTimer_->setEnabled(false);
    quietTimer_->setEnabled(true);
}

void InterfaceProbe::conclude(ProbeOutcome outcome) {
    if (outcome_) return;
    outcome_ = outcome;
    quietTimer_->setEnabled(false);
    echoTimer_->setEnabled(false);
    schedule(&InterfaceProbe::finishDevice);
}

void InterfaceProbe::finishDevice() {
    closePort();
    record(*outcome_);
    probeNext();
}

void InterfaceProbe::record(ProbeOutcome outcome) {
    results_.push_back({devices_[next_], outcome, failure_});
    ++next_;
    emit probed(results_.back());
}

void InterfaceProbe::closePort() {
    if (!port_) return;
    try {
        port_->Close();
    } catch (const std::exception&) {
        // Closing for good: nothing is left to report to.
    }
    port_.reset();
}

}  // namespace zmt::link

#include "moc_InterfaceProbe.cpp"
