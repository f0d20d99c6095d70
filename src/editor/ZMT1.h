#pragma once

#include "ConfigEditor.h"
#include "ConfigModel.h"
#include "EditorEffects.h"
#include "OneShotTimer.h"
#include "PlatformDevice.h"

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
class LanguageText;
class MaskedEdit;

namespace link {
class TSpComPort;
}

// What the main window works on. Everything is created once by the program start and
// outlives the window.
struct Form1Context {
    ConfigModel& model;
    SessionState& session;
    LanguageText& texts;
    link::TSpComPort& port;  // RS232
    FileDialogs& dialogs;
    // Makes the devices of the ports that ProbePorts tries (the same as RS232's).
    link::PlatformDeviceFactory deviceFactory = {};
    QString settingsPath = QStringLiteral("initdig.txt");
};

// What the main window opens but does not own; the program start wires these. A hook
// left empty does nothing.
struct Form1Hooks {
    std::function<void()> ShowProgramFormModal;
    std::function<void()> ShowForm2;
    std::function<bool()> ProgramFormIsActive;
    std::function<void()> ShowComPreSelectModal;
    std::function<void(int languageIndex)> ShowHelpModal;
    std::function<void()> ShowAboutModal;
    std::function<void(const QUrl&)> OpenUrl;  // empty: the desktop's browser
};

// The main window: the configuration editor with its test line, the status memo `Mem`,
// the interface switches, the operation buttons and the menu. Every control carries its
// form name as object name. Each event runs one editor operation, then shows the model
// and replays the operation's memo lines and beeps.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the creation steps: fills the language table, restores initdig.txt (or arms the
    // first-start timer) and puts the current language on the captions.
    explicit TForm1(Form1Context context, QWidget* parent = nullptr);
    ~TForm1() override;

    void setHooks(Form1Hooks hooks) { hooks_ = std::move(hooks); }

    // --- For the operation windows ---

    // Opens the port ComPortNumber and drives RTS (signal) and DTR (power). A failure
    // adds the two memo lines (labelled with `name`) unless the operation window is active.
    void SetPortLines(const QString& name, bool power, bool signal, bool reopen);
    ConfigEditor& editor() { return editor_; }
    SessionState& session() { return context_.session; }
    link::TSpComPort& port() { return context_.port; }
    // Shows the model in the controls after it changed.
    void ShowModel();
    // Replays an operation's memo lines and beeps.
    void ReplayEffects(const Effects& effects);
    // Runs one editor operation: shows the model and replays the effects, also when the
    // operation raised (the exception then goes on to the caller).
    void EditorStep(const std::function<void(Effects&)>& operation);
    // UpdateRangeInfo with the unit labels and ComInfo shown.
    void UpdateRangeInfo();
    void Recalculate();
    OneShotTimer& powerontimer() { return *powerontimer_; }
    OneShotTimer& Timer2() { return *Timer2_; }
    OneShotTimer& Timer3() { return *Timer3_; }
    QCheckBox& switchpower() { return *switchpower_; }
    QCheckBox& switchsignal() { return *switchsignal_; }

    // The status memo.
    void AddMemLine(const QString& line);
    void ClearMem();
    QStringList MemLines() const { return memLines_; }

    // --- Rules of the window ---

    // Activation: re-sends both line states and locks the switches for a moment.
    void FormActivate();
    // First-start choice (button of the port window, or closing it: COM1).
    void ApplyFirstStartChoice(int comNumber);
    // Enables the port menu items of the ports that can be opened.
    void ProbePorts();
    void ApplyLanguage(int languageIndex);
    void MLanguageClick();
    void Speichern1Click();
    void Laden1Click();
    void Quit1Click();
    void COMClick(int number);

  signals:
    // The window has closed; the program ends.
    void closed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct FieldBinding {
        Field field;
        MaskedEdit* edit;
    };

    // Building the controls (ZMT1Layout.cpp).
    void buildWindow();
    void buildMenu();
    QWidget* buildConfigurationPanel(QWidget* parent);
    void buildRangeBox(QWidget* parent);
    void buildPunktBox(QWidget* parent);
    void buildGrenzkontaktBox(QWidget* parent);
    void buildSkalierbox(QWidget* parent);
    void buildTestPanel(QWidget* parent);
    void buildStatusArea(QWidget* parent);
    void buildSwitchesAndButtons(QWidget* parent);
    void buildLogo(QWidget* parent);
    void buildTemplates(QWidget* parent);
    void buildTimers();
    MaskedEdit* addField(Field field, const QString& name, FieldMask mask, QWidget* parent,
                         const QRect& geometry);
    void connectHandlers();
    void connectFields();
    void connectOperationButtons();
    void connectMenu();

    // Creation and exit.
    void RestoreSettings();
    void ReportBadSettingsFile(const QString& reason);
    void WriteSettingsAtExit();
    void FormClose();

    // Event rules.
    void FieldExit(Field field);
    void Testin1Enter();
    void SelectRangeChange(int index);
    void DecimalPointClick(int code);
    void switchpowerClick();
    void switchsignalClick();
    void StartOperation(bool calibrate, bool write);
    void KalbuttClick();
    void Image1DblClick();
    void Hilfe2Click();
    void About1Click();
    void starttimerTimer();
    void powerontimerTimer();
    void RunModal(const std::function<void()>& show);
    void ScheduleActivationFallback();

    // Helpers.
    QString text(int row) const;
    void ReportPortFailure(const QString& name, bool permissionDenied);
    bool PortAvailable(int number);
    void ShowGlyph(QToolButton* target, Glyph glyph);
    void ShowDecimalPointRadio();
    void LoadFile(const QString& path);
    bool SaveFile(const QString& path);
    void ShowFileInfo(const QString& path);
    QAction* ComItem(int number) const;
    void Guarded(const std::function<void()>& handler);

    Form1Context context_;
    ConfigEditor editor_;
    Form1Hooks hooks_;
    QStringList memLines_;
    QString saveInitialName_;
    QString openInitialName_;
    bool activationSeen_ = false;
    bool shownOnce_ = false;

    std::array<FieldBinding, 7> fields_{};
    MaskedEdit* Testout1_ = nullptr;
    QComboBox* SelectRange_ = nullptr;
    QToolButton* polaritaet_ = nullptr;
    QToolButton* Grenzwertart_ = nullptr;
    QToolButton* kontaktbild_ = nullptr;
    std::array<QToolButton*, 7> templates_{};  // indexed by Glyph
    QPlainTextEdit* Mem_ = nullptr;
    QLabel* FileInfo_ = nullptr;
    QLabel* ComInfo_ = nullptr;
    QLabel* HelpPanel_ = nullptr;
    QLabel* Image1_ = nullptr;
    QPlainTextEdit* dateimem_ = nullptr;
    QWidget* Panel1_ = nullptr;
    QCheckBox* switchpower_ = nullptr;
    QCheckBox* switchsignal_ = nullptr;
    QMenu* Kommunikation1_ = nullptr;
    std::array<QAction*, 4> comItems_{};
    OneShotTimer* Timer2_ = nullptr;
    OneShotTimer* powerontimer_ = nullptr;
    OneShotTimer* Timer3_ = nullptr;
    OneShotTimer* starttimer_ = nullptr;
};

}  // namespace zmt
