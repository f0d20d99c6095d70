#pragma once

#include "common/OneShotTimer.h"
#include "editor/ActivationGate.h"
#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "editor/Effects.h"
#include "editor/Form1Controls.h"
#include "link/interface/PlatformDevice.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class QUrl;

namespace zmt {

enum class FieldMask;
class FileDialogs;
class FocusHistory;
class LanguageText;
class MaskedEdit;
class PortController;

struct SettingsResult;

// What the main window works on. Everything is created once by the program start and
// outlives the window.
struct Form1Context {
    PortController& controller;
    FileDialogs& dialogs;
    Clock& clock;
};

// What the main window tells the sheet commands: the window to put their dialogs on, the
// file that the configuration was last saved to or loaded from (empty: none), and the
// folder the file dialogs start in.
struct SheetRequest {
    QWidget* parent = nullptr;
    QString fileName;
};

// What the main window opens but does not own; the program start wires these. A hook
// left empty does nothing.
struct Form1Hooks {
    std::function<void()> ShowProgramFormModal;
    std::function<void()> ShowForm2;
    std::function<void()> ShowComPreSelectModal;
    std::function<void(int languageIndex)> ShowHelpModal;
    std::function<void()> ShowAboutModal;
    std::function<void()> ShowPortAssignModal;
    std::function<void()> ShowJournalModal;
    std::function<void()> ShowSeriesModal;
    std::function<void(const QUrl&)> OpenUrl;  // empty: the desktop's browser
    std::function<void(const SheetRequest&)> PrintConfigurationSheet;
    std::function<void(const SheetRequest&)> SaveConfigurationSheet;
};

// The main window: the configuration editor with its test line, the status memo `Mem`,
// the interface switches, the operation buttons and the menu. Every control carries its
// form name as object name. Each event runs one operation of the editor or of the port
// controller; whatever the controller reports, the window shows: the model, the
// switches, and the memo lines and beeps.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the creation steps: fills the language table, restores initdig.txt (or arms the
    // first-start timer) and puts the current language on the captions.
    explicit TForm1(Form1Context context, QWidget* parent = nullptr);
    ~TForm1() override;

    void setHooks(Form1Hooks hooks) { hooks_ = std::move(hooks); }

    ConfigEditor& editor();
    PortController& controller() { return context_.controller; }
    // Shows the model in the controls after it changed.
    void ShowModel();
    // Replays memo lines and beeps.
    void ReplayEffects(const Effects& effects);

    // The status memo.
    void AddMemLine(const QString& line);
    void ClearMem();
    QStringList MemLines() const { return memLines_; }

    // --- Rules of the window ---

    // The activation rule: re-sends both line states and locks the switches for a moment.
    // Runs at the first show and when the window takes over from another window of the
    // program, not when the user returns from another application.
    void FormActivate();
    // Enables the port menu items of the ports that can be opened; each item's tooltip and
    // status tip say what it opens.
    void ProbePorts();
    void ApplyLanguage(int languageIndex);
    void MLanguageClick();
    void Speichern1Click();
    void Laden1Click();
    void Journal1Click();
    void KonfigBlattDrucken1Click();
    void KonfigBlattPdf1Click();
    void Quit1Click();
    void COMClick(int number);
    void PortAssign1Click();
    void Serie1Click();

  signals:
    // The window has closed; the program ends.
    void closed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using FieldBinding = Form1Controls::FieldBinding;

    void buildTimers();
    void connectHandlers();
    void connectFields();
    void connectOperationButtons();
    void connectMenu();

    // Creation and exit.
    void FormClose();

    // Event rules.
    void ControllerChanged(const Effects& effects);
    void ShowSwitches();
    void EditorStep(const std::function<void(Effects&)>& operation);
    void FieldExit(Field field);
    void Testin1Enter();
    void SelectRangeChange(int index);
    void DecimalPointClick(int code);
    void StartOperation(bool calibrate, bool write, bool compare);
    void KalbuttClick();
    void Image1DblClick();
    void Hilfe2Click();
    void About1Click();
    void starttimerTimer();
    void RunModal(const std::function<void()>& show);
    void OweActivation();

    // Helpers.
    ConfigModel& model();
    SessionState& session();
    void ShowGlyph(QToolButton* target, Glyph glyph);
    void ShowStateDescriptions();
    void ShowDecimalPointRadio();
    void ShowFileInfo(const QString& path);
    SheetRequest SheetRequestNow();
    void ShowRefusal(const SettingsResult& refused);
    QAction* ComItem(int number) const;
    void Guarded(const std::function<void()>& handler);

    Form1Context context_;
    Texts text_;
    Form1Hooks hooks_;
    QStringList memLines_;
    QString saveInitialName_;
    QString openInitialName_;
    ActivationGate activation_;
    FocusHistory* focusHistory_ = nullptr;
    int activationRuns_ = 0;
    bool shownOnce_ = false;

    Form1Controls controls_;
    OneShotTimer* starttimer_ = nullptr;
    OneShotTimer* activationFallback_ = nullptr;
};

}  // namespace zmt
