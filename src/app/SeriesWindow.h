#pragma once

#include "language/Texts.h"

// The series window: the configuration to write and its summary, the options, Start and
// Stop, the last unit's result large, the counters and the units of this series. The
// series itself runs in SeriesLoop; the window shows what it reports.

#include "app/SeriesSource.h"
#include "common/Clock.h"
#include "link/interface/PlatformDevice.h"
#include "series/SeriesLoop.h"
#include "series/SeriesStation.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zmt {

class FileDialogs;
class PortController;

namespace link {
class TSpComPort;
}
namespace journal {
class OperationJournal;
}

struct SeriesWindowContext {
    // The main window's configuration, language and port; the port is given up while the
    // window is open and handed back when it closes.
    PortController& controller;
    FileDialogs& dialogs;
    Clock& clock;
    // Makes the device behind every COM port, as for the program's own port.
    link::PlatformDeviceFactory deviceFactory;
    // The program's journal over the series' own configuration and port.
    std::function<std::unique_ptr<journal::OperationJournal>(const ConfigEditor& series)>
        makeJournal;
    // The pass and the failure sound; empty: none.
    std::function<void(bool passed)> sound;
    // Told about the series' own port when it is made; empty: nobody needs to know.
    std::function<void(link::TSpComPort*)> portInUse;
};

class TSeriesForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSeriesForm(SeriesWindowContext context, QWidget* parent = nullptr);
    ~TSeriesForm() override;

    SeriesLoop& loop() { return *loop_; }
    const SeriesSource& source() const { return source_; }

    // Asks for a configuration file and takes it as the series' configuration.
    void ChooseFileClick();
    void ChooseFolderClick();
    void StartClick();
    void StopClick();
    // Closes once the series has stopped: a write frame under way finishes first.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // How the result field looks: the neutral one is the window's own pair of colours.
    enum class ResultLook { Neutral, Passed, Failed };

    int language() const;
    void BuildControls();
    void ConnectControls();
    SeriesStationSetup StationSetup();
    void ApplyLanguage();
    void TakeEditorConfiguration();
    void ShowSource();
    void ShowRunning();
    void ShowCounters();
    // Shows the result worded by `wording`, again after a change of language.
    void ShowResult(std::function<QString()> wording, ResultLook look);
    void ShowResult(const QString& line, ResultLook look);
    void ClearResult();
    void ShowMessages(const QStringList& lines);
    void ShowUnits();
    void PhaseChanged(SeriesPhase phase);
    void UnitStarted(int number);
    void UnitFinished(const SeriesUnit& unit);
    bool MayStop();
    void SeriesEnded(SeriesEnd reason, const QStringList& lines);

    SeriesWindowContext context_;
    Texts text_;
    SeriesSource source_;
    SeriesSource fileSource_;                             // the file last chosen
    std::unique_ptr<journal::OperationJournal> journal_;  // made when the series starts
    SeriesStation station_;
    SeriesLoop* loop_;
    QStringList warnings_;
    bool portReleased_ = false;
    bool closeWhenEnded_ = false;
    std::function<QString()> resultWording_;

    QLabel* configurationLabel_;
    QRadioButton* fromEditor_;
    QRadioButton* fromFile_;
    QPushButton* chooseFile_;
    QLabel* summary_;
    QCheckBox* verify_;
    QCheckBox* sheets_;
    QLineEdit* sheetFolder_;
    QPushButton* chooseFolder_;
    QPushButton* start_;
    QPushButton* stop_;
    QLabel* result_;
    QLabel* status_;
    QLabel* passed_;
    QLabel* failed_;
    QTableWidget* units_;
    QLabel* messages_;
    QLabel* helpPanel_;
};

}  // namespace zmt
