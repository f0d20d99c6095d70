#pragma once

#include "language/Texts.h"
#include "series/SeriesLoop.h"
#include "session/MeterSession.h"
#include "session/PortChoice.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zmt {

namespace journal {
class OperationJournal;
}

// How a series is set up, the same for the program's window and the tool's command.
struct SeriesStationSetup {
    PortChoice port;
    Clock& clock;
    link::SystemFolders system = {};                        // why a port did not open
    std::function<void(link::TSpComPort*)> portInUse = {};  // told of the series' port
    // The journal the series' operations are recorded in, over the series' own
    // configuration; asked once, when the series starts; null: none.
    std::function<journal::OperationJournal*(ConfigEditor& seriesEditor)> journal = {};
    std::function<void(bool passed)> sound = {};  // empty: none
    // Where the sheet of a passed unit goes; empty: no sheet.
    std::function<QString()> sheetFolder = {};
    // The configuration file the series writes (named on the sheets); empty: none.
    QString file = {};
};

// Why `folder` cannot take the series' sheets, before the series starts; none when it can (it
// is made if need be) or when no folder is given.
std::optional<QString> SheetFolderRefusal(const QString& folder, const Texts& text);

// The hooks of a series loop as the program and the tool both need them: a meter session on
// the series' port, the journal, and each passed unit's sheet naming its journal record.
class SeriesStation {
  public:
    explicit SeriesStation(SeriesStationSetup setup) : setup_(std::move(setup)) {}

    SeriesHooks Hooks();
    // Why the series' port did not open, as the port's failure lines; empty: it opened.
    const QStringList& openProblem() const { return openProblem_; }
    // The port and the file of the next series.
    void setPort(PortChoice port) { setup_.port = std::move(port); }
    void setFile(const QString& file) { setup_.file = file; }

  private:
    std::unique_ptr<SeriesMeter> MakeMeter(ConfigEditor& editor, DeviceState& device);
    QString LastJournalId() const;
    QString SaveSheet(const SeriesUnit& unit, const ConfigModel& model, const SessionState& session,
                      const DeviceState& device) const;

    SeriesStationSetup setup_;
    journal::OperationJournal* journal_ = nullptr;
    const LanguageText* texts_ = nullptr;  // the series' texts, for a sheet's failure
    QStringList openProblem_;
};

}  // namespace zmt
