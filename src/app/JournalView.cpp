#include "app/JournalView.h"

#include "device/DeviceImage.h"
#include "editor/ConfigEditor.h"
#include "editor/Effects.h"
#include "editor/Numbers.h"
#include "journal/JournalWords.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "sheet/ConfigurationSheet.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <set>

namespace zmt {

namespace {

using journal::JournalRecord;

bool IsOperation(const JournalRecord& record, Operation operation) {
    return record.kind() == operation;
}

bool IsRead(const JournalRecord& record) {
    return record.kind() && ReadsOnly(*record.kind());
}

// The series reads every unit back right after its write: same meter, same file.
bool ReadsBack(const JournalRecord& readBack, const JournalRecord& write) {
    return IsOperation(readBack, Operation::Compare) && IsOperation(write, Operation::Write) &&
           write.succeeded() && readBack.port == write.port && readBack.device == write.device &&
           readBack.file == write.file;
}

QString ResultName(const JournalRecord& record, const Texts& text) {
    const auto row = journal::ResultRow(record.result);
    return row ? text(*row) : record.otherResult;
}

}  // namespace

bool JournalEntry::interrupted() const {
    return record->interrupted() || record->result == journal::JournalResult::Started;
}

const std::optional<journal::Image>& JournalEntry::readBackImage() const {
    return readBack && readBack->asFound ? readBack->asFound : record->readBack;
}

std::vector<JournalEntry> JournalEntries(const std::vector<JournalRecord>& records,
                                         const std::vector<size_t>& listed) {
    const std::set<size_t> shown(listed.begin(), listed.end());
    std::set<size_t> joined;
    std::vector<JournalEntry> entries;
    for (size_t index : listed) {
        if (joined.count(index)) continue;
        const JournalRecord& record = records[index];
        if (index > 0 && shown.count(index - 1) && ReadsBack(record, records[index - 1])) {
            joined.insert(index - 1);
            entries.push_back({&records[index - 1], &record});
            continue;
        }
        entries.push_back({&record, nullptr});
    }
    return entries;
}

QString ShortJournalId(const QString& id) {
    return id.left(8);
}

QString LocalJournalTime(const QString& isoTime) {
    const QDateTime moment = QDateTime::fromString(isoTime, Qt::ISODateWithMs);
    if (!moment.isValid()) return isoTime;
    const QDateTime local = moment.toLocalTime();
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
           local.time().toString(QStringLiteral("HH:mm:ss"));
}

QString OperationName(const JournalRecord& record, const Texts& text) {
    const auto kind = record.kind();
    return kind ? text(journal::OperationRow(*kind)) : record.operation;
}

QStringList JournalCells(const JournalEntry& entry, const Texts& text) {
    const JournalRecord& record = *entry.record;
    QString operation = OperationName(record, text);
    QString result = ResultName(record, text);
    if (entry.readBack) {
        operation = text(rows::JournalOperationSeriesUnit);
        result = ResultName(*entry.readBack, text);
    }
    const QString port = record.device.isEmpty() ? record.port : record.port + u' ' + record.device;
    return {LocalJournalTime(record.time),
            ShortJournalId(record.id),
            port,
            operation,
            record.file,
            result};
}

std::vector<ShownImage> EntryImages(const JournalEntry& entry, const Texts& text) {
    const JournalRecord& record = *entry.record;
    std::vector<ShownImage> images;
    if (IsRead(record)) {
        if (record.asFound) images.push_back({text(rows::JournalReadImage), *record.asFound});
        return images;
    }
    if (record.asFound) images.push_back({text(rows::JournalAsFound), *record.asFound});
    if (record.written) images.push_back({text(rows::JournalWritten), *record.written});
    if (const auto& readBack = entry.readBackImage())
        images.push_back({text(rows::JournalReadBack), *readBack});
    return images;
}

std::vector<QStringList> ImageConfiguration(const journal::Image& image, const Texts& text) {
    LanguageText table = text.table();
    ConfigModel model;
    SessionState session;
    session.LanguageIndex = text.languageIndex();
    DeviceState device;
    std::copy(image.begin(), image.end(), device.ReadWords.begin());
    device.DeviceImage = image;
    ConfigEditor editor(model, session, table);
    Effects ignored;  // the evaluation's memo lines belong to the main window
    try {
        ImageToConfig(device, editor, ignored);
    } catch (const ConversionError&) {
        // The test input is no part of an image; what was taken over stands.
    }
    SheetInput input{model, session, QString(), device};
    const SheetContents sheet = ConfigurationSheet(input).contents();
    std::vector<QStringList> items = sheet.sections.front().tables.front().rows;
    const QStringList notInImage{text(rows::SheetDeviceType), text(rows::SheetTestInput)};
    items.erase(
        std::remove_if(items.begin(), items.end(),
                       [&](const QStringList& item) { return notInImage.contains(item.value(0)); }),
        items.end());
    return items;
}

}  // namespace zmt
