#include "journal/JournalCsv.h"

#include <QStringList>

namespace zmt::journal {

namespace {

QString Quoted(const QString& field) {
    static const QString special = QStringLiteral(",\"\r\n");
    bool needsQuotes = false;
    for (QChar c : field) needsQuotes = needsQuotes || special.contains(c);
    if (!needsQuotes) return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A text that a spreadsheet would take for a formula (a file named "=cmd|..." or a device
// path "@x") is kept as text with a leading apostrophe. Only text fields are guarded: the
// numbers (image words, readings, exit code) come from this program and stay numbers, so
// that a reading of -1000 remains -1000.
QString AsText(const QString& field) {
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && formulaStart.contains(field.front())) return u'\'' + field;
    return field;
}

void ImageHeader(QStringList& header, const QString& name) {
    for (int word = 0; word < ImageWordCount; ++word)
        header << QStringLiteral("%1.w%2").arg(name).arg(word);
}

void ImageFields(QStringList& fields, const std::optional<Image>& image) {
    for (int word = 0; word < ImageWordCount; ++word)
        fields << (image ? QString::number((*image)[word]) : QString());
}

QString Number(const std::optional<qint64>& value) {
    return value ? QString::number(*value) : QString();
}

}  // namespace

QString JournalCsv(const std::vector<JournalRecord>& records) {
    QStringList header{"id",       "time", "version",    "operation", "port",        "device",
                       "operator", "file", "fileSha256", "language",  "asFoundValid"};
    ImageHeader(header, QStringLiteral("asFound"));
    ImageHeader(header, QStringLiteral("written"));
    ImageHeader(header, QStringLiteral("readBack"));
    header << "offsetReading"
           << "gainReading"
           << "result"
           << "verdict"
           << "exitCode"
           << "restoredFrom";
    QStringList lines{header.join(u',')};
    for (const JournalRecord& record : records) {
        QStringList fields;
        for (const QString* text : {&record.id, &record.time, &record.version, &record.operation,
                                    &record.port, &record.device, &record.operatorName,
                                    &record.file, &record.fileSha256, &record.language})
            fields << AsText(*text);
        fields << (record.asFound ? (record.asFoundValid ? "yes" : "no") : QString());
        ImageFields(fields, record.asFound);
        ImageFields(fields, record.written);
        ImageFields(fields, record.readBack);
        fields << Number(record.offsetReading) << Number(record.gainReading)
               << AsText(record.resultWord()) << AsText(record.verdict.join(QStringLiteral(" / ")))
               << (record.exitCode ? QString::number(*record.exitCode) : QString())
               << AsText(record.restoredFrom);
        for (QString& field : fields) field = Quoted(field);
        lines << fields.join(u',');
    }
    return lines.join(u'\n');
}

}  // namespace zmt::journal
