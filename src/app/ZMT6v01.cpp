#include "ZMT6v01.h"

#include "ComSelectUnit.h"
#include "HelpWindow.h"
#include "SpComPort.h"
#include "Ulanguage.h"
#include "ZMT1.h"
#include "ZMT1Dialogs.h"
#include "ZMT1info.h"
#include "ZMTdefs.h"
#include "ZMThelp.h"
#include "ZMThilfe.h"
#include "ZMTU1.h"
#include "ZMTUnit1.h"
#include "ZMTwarn1.h"
#include "ZMTCOMU1.h"

#include <QCoreApplication>

namespace zmt {

ZMT6v01::ZMT6v01(ProgramOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtFileDialogs>();
        options_.dialogs = ownDialogs_.get();
    }
    CreateWindows(TZMTCom::MakeRS232(options_.deviceFactory));
    WireWindows();
}

// Windows go in reverse order of creation; the transfer window with the port goes last,
// because the main window holds a reference to its port.
ZMT6v01::~ZMT6v01() {
    ZMTHelpDeu_.reset();
    FS_.reset();
    ProgramForm_.reset();
    ComPreSelect_.reset();
    warn_.reset();
    ZMT1about_.reset();
    ZMTHelpEng_.reset();
    Form3_.reset();
    Form2_.reset();
    Form1_.reset();
    ZMTCom_.reset();
}

// The main window is handed the port before the transfer window that owns it exists.
void ZMT6v01::CreateWindows(std::unique_ptr<link::TSpComPort> rs232) {
    Form1_ =
        std::make_unique<TForm1>(Form1Context{model, session, texts, *rs232, *options_.dialogs,
                                              options_.deviceFactory, options_.settingsPath});
    ZMTCom_ = std::make_unique<TZMTCom>(transfer, std::move(rs232));
    Form2_ = std::make_unique<TForm2>(Form2Context{*Form1_, *ZMTCom_, transfer, device});
    Form3_ = std::make_unique<TForm3>();
    ZMTHelpEng_ = std::make_unique<TZMTHelpEng>();
    ZMT1about_ = std::make_unique<TZMT1about>();
    warn_ = std::make_unique<Twarn>();
    ComPreSelect_ = std::make_unique<TComPreSelect>(
        [this](int comNumber) { Form1_->ApplyFirstStartChoice(comNumber); });
    ProgramForm_ =
        std::make_unique<TProgramForm>(ProgramFormContext{*Form1_, *ZMTCom_, transfer, device});
    FS_ = std::make_unique<TFS>();
    ZMTHelpDeu_ = std::make_unique<TZMTHelpDeu>();
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
    hooks.ProgramFormIsActive = [this] { return ProgramForm_->isVisible(); };
    Form1_->setHooks(std::move(hooks));
    ZMTCom_->setPortLinesHook([this](bool power, bool signal) {
        Form1_->SetPortLines(session.ComPortName, power, signal, false);
    });
    QObject::connect(Form1_.get(), &TForm1::closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

link::TSpComPort& ZMT6v01::RS232() { return ZMTCom_->RS232(); }

void ZMT6v01::Show() {
    Form1_->show();
}

int ZMT6v01::Run() {
    Show();
    return QCoreApplication::exec();
}

}  // namespace zmt
