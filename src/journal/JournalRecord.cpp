#include "journal/JournalRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace zmt::journal {

namespace {

const QStringList kKnownFields = {
    "format",       "id",       "time",         "version",       "operation",   "port",
    "device",       "operator", "file",         "fileSha256",    "language",    "asFound",
    "asFoundValid", "written",  "readBack",     "offsetReading", "gainReading", "result",
    "verdict",      "exitCode", "restoredFrom", "outcomeOf"};

constexpr std::pair<JournalResult, const char*> kResultWords[] = {
    {JournalResult::Succeeded, "succeeded"},
    {JournalResult::Failed, "failed"},
    {JournalResult::Cancelled, "cancelled"},
    {JournalResult::Started, "started"},
    {JournalResult::Interrupted, "interrupted"}};

QJsonArray ImageJson(const Image& image) {
    QJsonArray words;
    for (std::uint16_t word : image) words.append(int(word));
    return words;
}

// Sixteen words of 0..65535, or nothing.
std::optional<Image> ImageOf(const QJsonValue& value) {
    if (!value.isArray()) return std::nullopt;
    const QJsonArray words = value.toArray();
    if (words.size() != ImageWordCount) return std::nullopt;
    Image image{};
    for (int i = 0; i < ImageWordCount; ++i) {
        const double word = words[i].toDouble(-1);
        if (!words[i].isDouble() || word < 0 || word > 65535 || word != qint64(word))
            return std::nullopt;
        image[i] = std::uint16_t(word);
    }
    return image;
}

std::optional<qint64> IntegerOf(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    return qint64(value.toDouble());
}

void PutText(QJsonObject& json, const char* name, const QString& text) {
    if (!text.isEmpty()) json[QLatin1String(name)] = text;
}

}  // namespace

QString ResultWord(JournalResult result) {
    for (const auto& [known, word] : kResultWords)
        if (known == result) return QLatin1String(word);
    return {};
}

JournalResult ResultOfWord(const QString& word) {
    for (const auto& [known, name] : kResultWords)
        if (word == QLatin1String(name)) return known;
    return JournalResult::Other;
}

QString JournalRecord::resultWord() const {
    return result == JournalResult::Other ? otherResult : ResultWord(result);
}

QString IsoTime(const QDateTime& moment) {
    const int offset = moment.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QStringLiteral("%1%2:%3")
               .arg(QChar(offset < 0 ? u'-' : u'+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString MendedTime(const QString& time) {
    // The sign came out as its code: 43 for '+', 45 for '-', right after the milliseconds.
    static const QRegularExpression broken(
        QStringLiteral(R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})(43|45)(\d\d:\d\d)$)"));
    const QRegularExpressionMatch match = broken.match(time);
    if (!match.hasMatch()) return time;
    return match.captured(1) + (match.captured(2) == QLatin1String("43") ? u'+' : u'-') +
           match.captured(3);
}

QJsonObject ToJson(const JournalRecord& record) {
    QJsonObject json = record.unknown;
    json["format"] = RecordFormat;
    json["id"] = record.id;
    json["time"] = record.time;
    json["version"] = record.version;
    json["operation"] = record.operation;
    json["port"] = record.port;
    PutText(json, "device", record.device);
    PutText(json, "operator", record.operatorName);
    PutText(json, "file", record.file);
    PutText(json, "fileSha256", record.fileSha256);
    PutText(json, "language", record.language);
    if (record.asFound) {
        json["asFound"] = ImageJson(*record.asFound);
        json["asFoundValid"] = record.asFoundValid;
    }
    if (record.written) json["written"] = ImageJson(*record.written);
    if (record.readBack) json["readBack"] = ImageJson(*record.readBack);
    if (record.offsetReading) json["offsetReading"] = double(*record.offsetReading);
    if (record.gainReading) json["gainReading"] = double(*record.gainReading);
    json["result"] = record.resultWord();
    json["verdict"] = QJsonArray::fromStringList(record.verdict);
    if (record.exitCode) json["exitCode"] = *record.exitCode;
    PutText(json, "restoredFrom", record.restoredFrom);
    PutText(json, "outcomeOf", record.outcomeOf);
    return json;
}

ParsedRecord FromJson(const QJsonObject& json) {
    for (const char* required : {"id", "time", "operation"})
        if (!json.value(QLatin1String(required)).isString() ||
            json.value(QLatin1String(required)).toString().isEmpty())
            return {std::nullopt, QLatin1String(required)};
    JournalRecord record;
    record.id = json["id"].toString();
    record.time = MendedTime(json["time"].toString());
    record.operation = json["operation"].toString();
    record.version = json["version"].toString();
    record.port = json["port"].toString();
    record.device = json["device"].toString();
    record.operatorName = json["operator"].toString();
    record.file = json["file"].toString();
    record.fileSha256 = json["fileSha256"].toString();
    record.language = json["language"].toString();
    record.asFound = ImageOf(json["asFound"]);
    record.asFoundValid = record.asFound && json["asFoundValid"].toBool();
    record.written = ImageOf(json["written"]);
    record.readBack = ImageOf(json["readBack"]);
    record.offsetReading = IntegerOf(json["offsetReading"]);
    record.gainReading = IntegerOf(json["gainReading"]);
    record.result = ResultOfWord(json["result"].toString());
    if (record.result == JournalResult::Other) record.otherResult = json["result"].toString();
    for (const QJsonValue& line : json["verdict"].toArray()) record.verdict << line.toString();
    if (const auto code = IntegerOf(json["exitCode"])) record.exitCode = int(*code);
    record.restoredFrom = json["restoredFrom"].toString();
    record.outcomeOf = json["outcomeOf"].toString();
    for (auto field = json.begin(); field != json.end(); ++field)
        if (!kKnownFields.contains(field.key())) record.unknown.insert(field.key(), field.value());
    return {record, {}};
}

QByteArray ToLine(const JournalRecord& record) {
    return QJsonDocument(ToJson(record)).toJson(QJsonDocument::Compact) + '\n';
}

QString ImageText(const Image& image) {
    QStringList words;
    for (std::uint16_t word : image) words << QString::number(word);
    return words.join(u' ');
}

}  // namespace zmt::journal
