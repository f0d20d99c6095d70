#pragma once

// One record of the journal: an operation on the meter, what it found there, what it wrote
// and read back, and how it ended. A record is one JSON object; fields this version does
// not know (a newer program wrote them) are kept as they came and shown.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace zmt::journal {

using Image = std::array<std::uint16_t, 16>;

// The version of the record layout this program writes.
inline constexpr int RecordFormat = 1;

struct JournalRecord {
    QString id;
    QString time;  // ISO 8601 with the UTC offset
    QString version;
    QString operation;  // read, write, calibrate, compare, verify, restore, legacy-read
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
    QString result;  // "succeeded", "failed", "cancelled"
    QStringList verdict;
    std::optional<int> exitCode;
    QString restoredFrom;  // a restore: the id of the record whose as-found it wrote
    // Fields of a newer layout, kept as read.
    QJsonObject unknown;

    bool succeeded() const { return result == QLatin1String("succeeded"); }
};

QJsonObject ToJson(const JournalRecord& record);

struct ParsedRecord {
    std::optional<JournalRecord> record;
    QString problem;  // why the object is no record, when it is none
};
// A record needs an id, a time and an operation; everything else may be missing.
ParsedRecord FromJson(const QJsonObject& object);

// One line of the journal file, with its newline.
QByteArray ToLine(const JournalRecord& record);

// "12 34 ..." as the window and the tool show an image.
QString ImageText(const Image& image);

}  // namespace zmt::journal
