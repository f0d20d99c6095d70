#include "session/MeterSession.h"

#include "device/DeviceImage.h"
#include "device/OperationWiring.h"
#include "editor/ComNames.h"
#include "editor/PortTexts.h"
#include "language/AddedRows.h"
#include "link/IgnorePortFailure.h"
#include "link/MeterStartup.h"
#include "link/SpComPort.h"

namespace zmt {

MeterSession::MeterSession(ConfigEditor& editor, DeviceState& device,
                           link::PlatformDeviceFactory factory, int comNumber,
                           const QString& portName, Clock& clock)
    : editor_(editor), device_(device) {
    SessionState& session = editor_.session();
    session.ComPortNumber = comNumber;
    session.ComPortName = portName;
    restartHold_ =
        new OneShotTimer(this, QStringLiteral("restartHold"), link::MeterStartupMs, clock);
    restartHold_->setHandler([this] {
        restartHold_->setEnabled(false);
        Changed();
    });
    port_ = link::MakeRS232(factory);
    transferPort_ = std::make_unique<link::SpComPortTransferPort>(*port_);
    engine_ = std::make_unique<link::TransferEngine>(transfer_, *transferPort_, clock);
    lines_ = std::make_unique<PortController>(
        PortControllerContext{editor_, *port_, clock, std::move(factory), QString()});
    // Nobody reads a memo here: a failed port shows in the exchange's checks.
    lines_->SetOperationRunning(true);
    steps_ = std::make_unique<OperationSequencer>(transfer_, device_, editor_, MakeHooks(), clock);
    ConnectEngineToPort(*port_, *engine_, *lines_);
    connect(engine_.get(), &link::TransferEngine::exchangeEnded, steps_.get(),
            &OperationSequencer::TransferEnded);
    connect(engine_.get(), &link::TransferEngine::exchangeEnded, this, &MeterSession::Changed);
    connect(steps_.get(), &OperationSequencer::viewChanged, this, &MeterSession::Changed);
    connect(engine_.get(), &link::TransferEngine::memoLineAdded, this, [this](const QString& line) {
        phase_ = line;
        emit progress(phase_, engine_->Progress());
    });
    connect(engine_.get(), &link::TransferEngine::progressChanged, this,
            [this](int percent) { emit progress(phase_, percent); });
}

MeterSession::~MeterSession() {
    Close();
    port_->OnDataRecived = nullptr;
}

// The operations' hooks as every window has them, with the tool's own line control.
OperationHooks MeterSession::MakeHooks() {
    OperationHooks hooks = MakeOperationHooks(
        *lines_, *engine_, [this](const QString& message) { errors_ << message; });
    hooks.SetPortLines = [this](bool power, bool signal, bool reopen) {
        ToolLines(power, signal, reopen);
    };
    hooks.SetDTR = [this](bool on) { ToolPower(on); };
    hooks.SetRTS = [this](bool on) { lines_->SetRTS(on && Calibrating()); };
    return hooks;
}

// Without a question to answer, the meter stays off until the exchange powers it; the
// signal belongs to the calibration alone.
void MeterSession::ToolLines(bool power, bool signal, bool reopen) {
    if (starting_) return;
    lines_->SetPortLines(editor_.session().ComPortName, power, signal && Calibrating(), reopen);
}

// A restart inside an operation gets the meter's start-up: a calibration reads its display
// next. The restart that closes an operation only has to be a real power-up when something
// follows (the next exchange grants the start-up itself), and is left out at the end of a
// command: the meter would be switched off again at once.
void MeterSession::ToolPower(bool on) {
    if (!on) return lines_->SetDTR(false);
    const bool closing = steps_->OperationOver();
    if (closing && after_ == AfterOperation::MeterOff) return;
    lines_->SetDTR(true);
    HoldRestart(closing ? link::ShortestPowerUpMs : link::MeterStartupMs);
}

void MeterSession::HoldRestart(int ms) {
    restartHold_->setEnabled(false);
    restartHold_->setInterval(ms);
    restartHold_->setEnabled(true);
}

bool MeterSession::Calibrating() const {
    return steps_->mode() == OperationMode::CalibrateAndWrite;
}

QStringList MeterSession::OpenPort(const link::SystemFolders& system) {
    const SessionState& session = editor_.session();
    system_ = system;
    try {
        port_->setComNumber(session.ComPortNumber);
        port_->Open();
        return {};
    } catch (const std::exception& error) {
        return PortProblem(error);
    }
}

QStringList MeterSession::PortProblem(const std::exception& error) const {
    const SessionState& session = editor_.session();
    if (const auto* core = dynamic_cast<const link::ESpComPortCoreError*>(&error))
        return PortFailureLines(session.ComPortName, link::DiagnoseOpenFailure(*core, system_),
                                editor_.texts(), session.LanguageIndex);
    return {session.ComPortName + QStringLiteral(": ") + QString::fromUtf8(error.what())};
}

void MeterSession::Changed() {
    if (changeListener_) changeListener_();
}

void MeterSession::setChangeListener(std::function<void()> listener) {
    changeListener_ = std::move(listener);
}

// ---- a series of units ----

namespace {
// The probe's answer is a byte or two; more is noise, and no more than this is taken.
constexpr std::size_t kProbeAnswerBytes = 16;
}  // namespace

QStringList MeterSession::PowerForProbe() {
    engine_->setIdleBytesKept(true);
    if (QStringList problem = OpenPort(system_); !problem.isEmpty()) return problem;
    lines_->SetRTS(false);
    lines_->SetDTR(true);
    return {};
}

QStringList MeterSession::SendProbeByte(std::uint8_t byte) {
    try {
        port_->PurgeRx();
        port_->WriteChar(byte);
        return {};
    } catch (const std::exception& error) {
        return PortProblem(error);
    }
}

std::vector<std::uint8_t> MeterSession::TakeProbeAnswer() {
    std::vector<std::uint8_t> bytes;
    link::IgnorePortFailure([&] {
        for (int waiting = port_->InBufUsed(); waiting > 0 && bytes.size() < kProbeAnswerBytes;
             --waiting)
            bytes.push_back(port_->ReadChar());
    });
    return bytes;
}

void MeterSession::StartOperation(OperationMode mode) {
    engine_->setIdleBytesKept(false);
    Start(mode, AfterOperation::NextExchange);
}

void MeterSession::Start(OperationMode mode, AfterOperation after) {
    after_ = after;
    starting_ = true;
    steps_->initform(mode);
    starting_ = false;
    steps_->weiterbuttonClick();
}

bool MeterSession::Writing() const {
    return engine_->Running() && transfer_.SendCount == WriteFrameSendCount;
}

bool MeterSession::Settled() const {
    return steps_->Settled() && !restartHold_->enabled();
}

void MeterSession::Close() {
    engine_->Cancel();  // a running exchange would power the meter again
    steps_->CancelPendingSteps();
    restartHold_->setEnabled(false);
    link::IgnorePortFailure([this] {
        port_->setRTS(false);
        port_->setDTR(false);
    });
    link::IgnorePortFailure([this] { port_->Close(); });
}

OpenedSession OpenMeterSession(const SessionPlace& place, const PortChoice& port) {
    OpenedSession opened;
    opened.meter = std::make_unique<MeterSession>(place.editor, place.device, port.factory,
                                                  port.number, port.name, place.clock);
    if (place.portInUse) place.portInUse(&opened.meter->port());
    opened.problem = opened.meter->OpenPort(place.system);
    return opened;
}

}  // namespace zmt

#include "moc_MeterSession.cpp"
