#include "series/SeriesStation.h"

#include "journal/OperationJournal.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "series/SessionMeter.h"
#include "sheet/SheetPdf.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <stdexcept>

namespace zmt {

std::optional<QString> SheetFolderRefusal(const QString& folder, const Texts& text) {
    if (folder.isEmpty()) return std::nullopt;
    QString reason;
    if (!QDir().mkpath(folder)) {
        reason = QFileInfo(folder).exists() && !QFileInfo(folder).isDir()
                     ? text(rows::SeriesSheetFolderIsAFile)
                     : text(rows::SeriesSheetFolderNotMade);
    } else {
        // Made and removed: only a real file tells, root writes past a folder's mode.
        QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zmt4824-XXXXXX")));
        if (probe.open()) return std::nullopt;
        reason = probe.errorString();
    }
    return text(rows::FileCannotBeWritten).arg(folder, reason);
}

SeriesHooks SeriesStation::Hooks() {
    SeriesHooks hooks;
    hooks.MakeMeter = [this](ConfigEditor& editor, DeviceState& device) {
        return MakeMeter(editor, device);
    };
    hooks.Journal = [this]() -> OperationReporter* { return journal_; };
    hooks.LastJournalId = [this] { return LastJournalId(); };
    hooks.Sound = setup_.sound;
    if (setup_.sheetFolder)
        hooks.SaveSheet = [this](const SeriesUnit& unit, const ConfigModel& model,
                                 const SessionState& session, const DeviceState& device) {
            return SaveSheet(unit, model, session, device);
        };
    return hooks;
}

// The journal is made over the series' own configuration once the series has one, so that
// each record names the series' file and port.
std::unique_ptr<SeriesMeter> SeriesStation::MakeMeter(ConfigEditor& editor, DeviceState& device) {
    if (!journal_ && setup_.journal) journal_ = setup_.journal(editor);
    texts_ = &editor.texts();
    OpenedSession opened = OpenMeterSession(
        {editor, device, setup_.clock, setup_.system, setup_.portInUse}, setup_.port);
    openProblem_ = opened.problem;
    return std::make_unique<SessionMeter>(std::move(opened.meter));
}

QString SeriesStation::LastJournalId() const {
    if (!journal_ || journal_->lastAppendFailed() || !journal_->lastRecord()) return {};
    return journal_->lastRecord()->id;
}

// The sheet names the unit's journal record, so that the paper leads to what the meter held.
QString SeriesStation::SaveSheet(const SeriesUnit& unit, const ConfigModel& model,
                                 const SessionState& session, const DeviceState& device) const {
    const QString folder = setup_.sheetFolder();
    if (folder.isEmpty()) return {};
    if (!QDir().mkpath(folder))
        throw std::runtime_error(texts_->text(rows::FileCannotBeWritten, session.LanguageIndex)
                                     .arg(folder, QString())
                                     .toStdString());
    SheetInput input{model, session, setup_.file, device, QDateTime::currentDateTime()};
    input.journalRecord = unit.journalId;
    const SheetResult written =
        WriteConfigurationSheetPdf(input, SeriesSheetPath(folder, setup_.file, unit));
    if (!written.ok) throw std::runtime_error(written.message.toStdString());
    return written.path;
}

}  // namespace zmt
