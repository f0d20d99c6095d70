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
#include "ZMTwarn1.h"

#include <QCoreApplication>

namespace zmt {

ZMT6v01::ZMT6v01(ProgramOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        ownDialogs_ = std::make_unique<QtFileDialogs>();
        options_.dialogs = ownDialogs_.get();
    }
    RS232_ = std::make_unique<link::TSpComPort>(nullptr, QStringLiteral("RS232"),
                                                options_.deviceFactory);
    LoadPortFormValues();
    CreateWindows();
    WireWindows();
}

// Windows go first (in reverse order of creation), the port after them.
ZMT6v01::~ZMT6v01() {
    ZMTHelpDeu_.reset();
    FS_.reset();
    ComPreSelect_.reset();
    warn_.reset();
    ZMT1about_.reset();
    ZMTHelpEng_.reset();
    Form3_.reset();
    Form1_.reset();
}

// The values the transfer window's form gives its port; it will load them itself once it
// owns the port. Loading DTR and RTS as off means every open drives both lines low.
void ZMT6v01::LoadPortFormValues() {
    RS232_->setBaudRate(link::br9600);
    RS232_->setComNumber(1);
    RS232_->setDTR(false);
    RS232_->setRTS(false);
    RS232_->setEventThreadPriority(link::tpHighest);
    RS232_->setWriteThreadPriority(link::tpHigher);
    RS232_->Loaded();
}

void ZMT6v01::CreateWindows() {
    Form1_ =
        std::make_unique<TForm1>(Form1Context{model, session, texts, *RS232_, *options_.dialogs,
                                              options_.deviceFactory, options_.settingsPath});
    // ZMTCom, then Form2.
    Form3_ = std::make_unique<TForm3>();
    ZMTHelpEng_ = std::make_unique<TZMTHelpEng>();
    ZMT1about_ = std::make_unique<TZMT1about>();
    warn_ = std::make_unique<Twarn>();
    ComPreSelect_ = std::make_unique<TComPreSelect>(
        [this](int comNumber) { Form1_->ApplyFirstStartChoice(comNumber); });
    // ProgramForm.
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
    // The operation windows hook in here once they exist.
    hooks.ProgramFormIsActive = [] { return false; };
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
