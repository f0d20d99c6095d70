#include "journal/JournalRecord.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <initializer_list>

namespace zmt::journal {

namespace {

const QStringList kKnownFields = {
    "format",       "id",       "time",        "version",       "operation",   "port",
    "device",       "operator", "file",        "fileSha256",    "language",    "asFound",
    "asFoundValid", "written",  "readBack",    "offsetReading", "gainReading", "result",
    "verdict",      "exitCode", "restoredFrom"};

QJsonArray ImageJson(const Image& image) {
    QJsonArray words;
    for (std::uint16_t word : image) words.append(int(word));
    return words;
}

// Sixteen words of 0..65535, or nothing.
std::optional<Image> ImageOf(const QJsonValue& value) {
    if (!value.isArray()) return std::nullopt;
    const QJsonArray words = value.toArray();
    if (words.size() != 16) return std::nullopt;
    Image image{};
    for (int i = 0; i < 16; ++i) {
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
    json["result"] = record.result;
    json["verdict"] = QJsonArray::fromStringList(record.verdict);
    if (record.exitCode) json["exitCode"] = *record.exitCode;
    PutText(json, "restoredFrom", record.restoredFrom);
    return json;
}

ParsedRecord FromJson(const QJsonObject& json) {
    for (const char* required : {"id", "time", "operation"})
        if (!json.value(QLatin1String(required)).isString() ||
            json.value(QLatin1String(required)).toString().isEmpty())
            return {std::nullopt, QStringLiteral("no \"%1\"").arg(QLatin1String(required))};
    JournalRecord record;
    record.id = json["id"].toString();
    record.time = json["time"].toString();
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
    record.result = json["result"].toString();
    for (const QJsonValue& line : json["verdict"].toArray()) record.verdict << line.toString();
    if (const auto code = IntegerOf(json["exitCode"])) record.exitCode = int(*code);
    record.restoredFrom = json["restoredFrom"].toString();
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
