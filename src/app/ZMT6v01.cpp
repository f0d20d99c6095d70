#include "app/ZMT6v01.h"

#include "app/JournalWindow.h"
#include "app/ProgramJournal.h"
#include "app/SeriesWindow.h"
#include "common/Beep.h"
#include "device/OperationWiring.h"
#include "device/ZMTU1.h"
#include "device/ZMTUnit1.h"
#include "editor/ComSelectUnit.h"
#include "editor/FileDialogs.h"
#include "editor/PortAssignDialogs.h"
#include "editor/PortAssignForm.h"
#include "editor/PortController.h"
#include "editor/ZMT1.h"
#include "editor/ZMTdefs.h"
#include "language/HelpWindow.h"
#include "language/Ulanguage.h"
#include "language/ZMT1info.h"
#include "language/ZMThelp.h"
#include "language/ZMThilfe.h"
#include "language/ZMTwarn1.h"
#include "link/SpComPort.h"
#include "link/ZMTCOMU1.h"
#include "sheet/SheetCommands.h"
#include "sheet/SheetJournal.h"

#include <QAction>
#include <QCoreApplication>

namespace zmt {

ZMT6v01::ZMT6v01(ProgramOptions options)
    : options_(std::move(options)), clock_(options_.clock ? *options_.clock : SteadyClock()) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtFileDialogs>();
        options_.dialogs = ownDialogs_.get();
    }
    if (!options_.portDialogs) {
        ownPortDialogs_ = std::make_unique<QtPortAssignDialogs>();
        options_.portDialogs = ownPortDialogs_.get();
    }
    RS232_ = link::MakeRS232(options_.deviceFactory);
    transferPort_ = std::make_unique<link::SpComPortTransferPort>(*RS232_);
    transfers_ = std::make_unique<link::TransferEngine>(transfer, *transferPort_, clock_);
    controller_ = std::make_unique<PortController>(PortControllerContext{
        editor_, *RS232_, clock_, options_.deviceFactory, options_.settingsPath, options_.ports});
    ConnectEngineToPort(*RS232_, *transfers_, *controller_);
    journal_ = MakeProgramJournal(options_.journalPath, editor_, options_.ports);
    sheets_ = std::make_unique<SheetCommands>(SheetCommandsContext{
        *controller_, *options_.dialogs, device,
        [this](const SheetInput& input) { return WriteRecordOf(input, journal_->writes()); }});
    CreateWindows();
    WireWindows();
    ProgramForm_->sequencer().setReporter(journal_.get());
    Form2_->sequencer().setReporter(journal_.get());
    JournalForm_ = MakeJournalForm(*journal_, editor_, device, *controller_, *ProgramForm_);
    SeriesForm_ = std::make_unique<TSeriesForm>(
        SeriesWindowContext{*controller_, *options_.dialogs, clock_, options_.deviceFactory,
                            [this](const ConfigEditor& series) {
                                return MakeProgramJournal(journal_->path(), series, options_.ports);
                            },
                            [](bool passed) { ResultSound(passed); }, options_.seriesPortInUse},
        Form1_.get());
    // It holds the main window only: at a bench (and in the demo, at the virtual meter) the
    // meters are plugged in while it waits.
    SeriesForm_->setWindowModality(Qt::WindowModal);
}

// Members go in reverse order: the windows, then the controller, the engine and the port.
// The port assignment window goes first: it may hold a probe port open.
ZMT6v01::~ZMT6v01() = default;

void ZMT6v01::CreateWindows() {
    Form1_ = std::make_unique<TForm1>(Form1Context{*controller_, *options_.dialogs, clock_});
    ZMTCom_ = std::make_unique<TZMTCom>(*transfers_);
    Form2_ =
        std::make_unique<TForm2>(Form2Context{*controller_, *transfers_, transfer, device, clock_});
    Form3_ = std::make_unique<TForm3>();
    ZMTHelpEng_ = std::make_unique<TZMTHelpEng>();
    ZMT1about_ = std::make_unique<TZMT1about>();
    warn_ = std::make_unique<Twarn>();
    ComPreSelect_ = std::make_unique<TComPreSelect>(
        [this](int comNumber) { controller_->FirstStartChoice(comNumber); });
    ProgramForm_ = std::make_unique<TProgramForm>(
        ProgramFormContext{*controller_, *transfers_, transfer, device, clock_});
    FS_ = std::make_unique<TFS>();
    ZMTHelpDeu_ = std::make_unique<TZMTHelpDeu>();
    PortAssign_ = std::make_unique<TPortAssignForm>(
        PortAssignContext{*controller_, clock_, *options_.portDialogs});
}

void ZMT6v01::WireWindows() {
    Form1Hooks hooks;
    hooks.ShowComPreSelectModal = [this] { ComPreSelect_->exec(); };
    hooks.ShowHelpModal = [this](int languageIndex) {
        ShowHelpWindow(languageIndex, *ZMTHelpDeu_, *ZMTHelpEng_);
    };
    hooks.ShowAboutModal = [this] { ZMT1about_->exec(); };
    hooks.ShowProgramFormModal = [this] { ProgramForm_->exec(); };
    hooks.ShowForm2 = [this] { Form2_->show(); };
    hooks.PrintConfigurationSheet = [this](const SheetRequest& r) { sheets_->Print(r); };
    hooks.SaveConfigurationSheet = [this](const SheetRequest& r) { sheets_->SavePdf(r); };
    hooks.ShowPortAssignModal = [this] { PortAssign_->exec(); };
    hooks.ShowJournalModal = [this] { JournalForm_->exec(); };
    hooks.ShowSeriesModal = [this] { SeriesForm_->exec(); };
    Form1_->setHooks(std::move(hooks));
    QObject::connect(Form1_.get(), &TForm1::closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void ZMT6v01::Show() {
    Form1_->show();
}

int ZMT6v01::Run() {
    Show();
    return QCoreApplication::exec();
}

}  // namespace zmt
