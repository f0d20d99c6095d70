#include "MeterSession.h"

#include "AddedRows.h"
#include "ComNames.h"
#include "DeviceImage.h"
#include "SpComPort.h"

namespace zmt::cli {

MeterSession::MeterSession(ConfigEditor& editor, DeviceState& device,
                           link::PlatformDeviceFactory factory, int comNumber, Clock& clock)
    : editor_(editor), device_(device) {
    SessionState& session = editor_.session();
    session.ComPortNumber = comNumber;
    session.ComPortName = ComName(comNumber);
    port_ = link::MakeRS232(factory);
    transferPort_ = std::make_unique<link::SpComPortTransferPort>(*port_);
    engine_ = std::make_unique<link::TransferEngine>(transfer_, *transferPort_, clock);
    lines_ = std::make_unique<PortController>(
        PortControllerContext{editor_, *port_, clock, std::move(factory), QString()});
    // Nobody reads a memo here: a failed port shows in the exchange's checks.
    lines_->SetOperationRunning(true);
    steps_ = std::make_unique<OperationSequencer>(transfer_, device_, editor_, MakeHooks(), clock);
    port_->OnDataRecived = [this](link::TSpComPort*, int) { engine_->RS232DataRecived(); };
    engine_->setPortLinesHook([this](bool power, bool signal) {
        lines_->SetPortLines(editor_.session().ComPortName, power, signal, false);
    });
    connect(engine_.get(), &link::TransferEngine::exchangeEnded, steps_.get(),
            &OperationSequencer::TransferEnded);
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

OperationHooks MeterSession::MakeHooks() {
    OperationHooks hooks;
    hooks.SetPortLines = [this](bool power, bool signal, bool reopen) {
        lines_->SetPortLines(editor_.session().ComPortName, power, signal, reopen);
    };
    hooks.SetDTR = [this](bool on) { lines_->SetDTR(on); };
    hooks.SetRTS = [this](bool on) { lines_->SetRTS(on); };
    hooks.ShowTransferWindow = [this] { engine_->Start(); };
    hooks.EditorStep = [](const std::function<void(Effects&)>& operation) {
        Effects ignored;  // the tool prints the configuration itself
        operation(ignored);
    };
    hooks.ShowError = [this](const QString& message) { errors_ << message; };
    return hooks;
}

QStringList MeterSession::PortProblem() {
    try {
        port_->setComNumber(editor_.session().ComPortNumber);
        port_->Open();
        port_->Close();
        return {};
    } catch (const link::ESpComPortCoreError& error) {
        const int language = editor_.session().LanguageIndex;
        const QString name = editor_.session().ComPortName;
        QStringList lines{name + editor_.texts().text(82, language),
                          name + editor_.texts().text(83, language)};
        if (error.failure() == link::OpenFailure::PermissionDenied)
            lines << editor_.texts().text(rows::PortPermissionDenied, language);
        return lines;
    } catch (const std::exception& error) {
        return {QString::fromUtf8(error.what())};
    }
}

void MeterSession::Start(OperationMode mode) {
    steps_->initform(mode);
    steps_->weiterbuttonClick();
}

bool MeterSession::Writing() const {
    return engine_->Running() && transfer_.SendCount == WriteFrameSendCount;
}

void MeterSession::Close() {
    steps_->CancelPendingSteps();
    try {
        port_->Close();
    } catch (const std::exception&) {
    }
}

}  // namespace zmt::cli

#include "moc_MeterSession.cpp"
