#pragma once

// One record of the journal: an operation on the meter, what it found there, what it wrote
// and read back, and how it ended. A record is one JSON object; fields this version does
// not know (a newer program wrote them) are kept as they came and shown.

#include "device/DeviceState.h"
#include "device/OperationKind.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace zmt::journal {

using Image = std::array<std::uint16_t, ImageWordCount>;

// The version of the record layout this program writes.
inline constexpr int RecordFormat = 1;

// How an operation ended, as the file names it. A write leaves a first record before its
// frame goes out (Started); the record of its outcome follows. A first record that no
// outcome names was cut short (the program was killed, the power failed): Interrupted.
enum class JournalResult { Succeeded, Failed, Cancelled, Started, Interrupted, Other };

// The fixed English word of the file; Other has none (the record keeps its own).
QString ResultWord(JournalResult result);
JournalResult ResultOfWord(const QString& word);

struct JournalRecord {
    QString id;
    QString time;  // ISO 8601 with the local offset
    QString version;
    QString operation;  // the operation's word (OperationWord), kept as read
    QString port;       // COM1..COM4 or the device path the tool was given
    QString device;     // the device reached; the stable by-id name where there is one
    QString operatorName;
    QString file;
    QString fileSha256;
    QString language;  // "de" or "en"
    std::optional<Image> asFound;
    bool asFoundValid = false;
    std::optional<Image> written;
    std::optional<Image> readBack;
    std::optional<qint64> offsetReading;
    std::optional<qint64> gainReading;
    JournalResult result = JournalResult::Failed;
    QString otherResult;  // a result word of a newer program, kept as read
    QStringList verdict;
    std::optional<int> exitCode;
    QString restoredFrom;  // a restore: the id of the record whose as-found it wrote
    QString outcomeOf;     // an outcome: the id of the write's first record
    // Fields of a newer layout, kept as read.
    QJsonObject unknown;

    bool succeeded() const { return result == JournalResult::Succeeded; }
    bool interrupted() const { return result == JournalResult::Interrupted; }
    // The result as the file names it.
    QString resultWord() const;
    // The operation; none for a word of a newer program.
    std::optional<Operation> kind() const { return OperationOfWord(operation); }
};

QJsonObject ToJson(const JournalRecord& record);

struct ParsedRecord {
    std::optional<JournalRecord> record;
    QString missing;  // the required field it lacks, when it is no record
};
// A record needs an id, a time and an operation; everything else may be missing.
ParsedRecord FromJson(const QJsonObject& object);

// The record time of a moment: ISO 8601 with milliseconds and the local offset
// ("2026-12-10T01:02:31.694+01:00").
QString IsoTime(const QDateTime& moment);
// A record time as read; the offset that earlier versions wrote as a character code
// ("...31.6944300:00" for "+00:00") is mended.
QString MendedTime(const QString& time);

// One line of the journal file, with its newline.
QByteArray ToLine(const JournalRecord& record);

// "12 34 ..." as the window and the tool show an image.
QString ImageText(const Image& image);

}  // namespace zmt::journal
