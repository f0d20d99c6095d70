#pragma once

#include "common/Clock.h"
#include "device/DeviceState.h"
#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "language/LanguageText.h"
#include "link/PortSetup.h"
#include "link/TransferEngine.h"
#include "link/interface/PlatformDevice.h"
#include "link/interface/TransferState.h"

#include <QString>

#include <functional>
#include <memory>

namespace zmt {

class FileDialogs;
class PortAssignDialogs;
class PortController;
class SheetCommands;
class TPortAssignForm;
class TComPreSelect;
class TForm1;
class TForm2;
class TForm3;
class TProgramForm;
class TZMTCom;
class TFS;
class TJournalForm;
class TSeriesForm;
class TZMT1about;
class TZMTHelpDeu;
class TZMTHelpEng;
class Twarn;

namespace link {
class TSpComPort;
}
namespace journal {
class OperationJournal;
}

struct ProgramOptions {
    // Makes the device behind every COM port; empty: the machine's serial terminals.
    link::PlatformDeviceFactory deviceFactory = {};
    // The save and load questions; null: the real file dialogs.
    FileDialogs* dialogs = nullptr;
    QString settingsPath = QStringLiteral("initdig.txt");
    // Where every timer takes its time from; null: the machine's clock.
    Clock* clock = nullptr;
    // The device list, the COM bindings and the interface probe of the port assignment;
    // by default the comN links of the working folder and no device list (the program's
    // main hands in the machine's).
    link::PortSetup ports = link::WorkingFolderPortSetup();
    // The port assignment's questions; null: message boxes.
    PortAssignDialogs* portDialogs = nullptr;
    // The journal of operations on the meter; empty: journal.jsonl in the data folder.
    QString journalPath;
    // Told about the series window's own port when it is made; empty: nobody.
    std::function<void(link::TSpComPort*)> seriesPortInUse;
};

// The program: its shared state, the one serial port with the transfer engine and the
// port controller over it, and the eleven windows, created in the order the program has
// always created them, the main window first, and then the port assignment window. Windows reach
// each other only through the controller, the engine and the hooks wired here; members go in
// reverse order of their creation, the windows first. Tests create a fresh program for each case.
class ZMT6v01 {
  public:
    explicit ZMT6v01(ProgramOptions options = {});
    ~ZMT6v01();

    ZMT6v01(const ZMT6v01&) = delete;
    ZMT6v01& operator=(const ZMT6v01&) = delete;

    // Shows the main window; the program ends when it closes.
    void Show();
    // Show, then the message loop until the main window has closed.
    int Run();

    TForm1& Form1() { return *Form1_; }
    TComPreSelect& ComPreSelect() { return *ComPreSelect_; }
    TZMTHelpDeu& ZMTHelpDeu() { return *ZMTHelpDeu_; }
    TZMTHelpEng& ZMTHelpEng() { return *ZMTHelpEng_; }
    TZMT1about& ZMT1about() { return *ZMT1about_; }
    TZMTCom& ZMTCom() { return *ZMTCom_; }
    TForm2& Form2() { return *Form2_; }
    TProgramForm& ProgramForm() { return *ProgramForm_; }
    TPortAssignForm& PortAssign() { return *PortAssign_; }
    TJournalForm& JournalForm() { return *JournalForm_; }
    TSeriesForm& SeriesForm() { return *SeriesForm_; }
    // The one serial port.
    link::TSpComPort& RS232() { return *RS232_; }
    link::TransferEngine& transfers() { return *transfers_; }
    PortController& controller() { return *controller_; }
    Clock& clock() { return clock_; }
    journal::OperationJournal& journal() { return *journal_; }

  private:
    ProgramOptions options_;
    Clock& clock_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    std::unique_ptr<PortAssignDialogs> ownPortDialogs_;

  public:
    ConfigModel model;
    SessionState session;
    LanguageText texts;
    TransferState transfer;
    DeviceState device;

  private:
    void CreateWindows();
    void WireWindows();

    ConfigEditor editor_{model, session, texts};
    std::unique_ptr<link::TSpComPort> RS232_;
    std::unique_ptr<link::SpComPortTransferPort> transferPort_;
    std::unique_ptr<link::TransferEngine> transfers_;
    std::unique_ptr<PortController> controller_;
    std::unique_ptr<SheetCommands> sheets_;
    std::unique_ptr<journal::OperationJournal> journal_;

    std::unique_ptr<TForm1> Form1_;
    std::unique_ptr<TZMTCom> ZMTCom_;
    std::unique_ptr<TForm2> Form2_;
    std::unique_ptr<TForm3> Form3_;
    std::unique_ptr<TZMTHelpEng> ZMTHelpEng_;
    std::unique_ptr<TZMT1about> ZMT1about_;
    std::unique_ptr<Twarn> warn_;
    std::unique_ptr<TComPreSelect> ComPreSelect_;
    std::unique_ptr<TProgramForm> ProgramForm_;
    std::unique_ptr<TFS> FS_;
    std::unique_ptr<TZMTHelpDeu> ZMTHelpDeu_;
    std::unique_ptr<TPortAssignForm> PortAssign_;
    std::unique_ptr<TJournalForm> JournalForm_;
    std::unique_ptr<TSeriesForm> SeriesForm_;
};

}  // namespace zmt
