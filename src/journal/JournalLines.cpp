#include "journal/JournalLines.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace zmt::journal {

void ReadRecordLines(QIODevice& file, JournalContents& contents) {
    qint64 number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++number;
        const bool torn = !line.endsWith('\n');
        const QByteArray text = line.trimmed();
        if (text.isEmpty()) continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            contents.skipped.push_back(
                {number, {torn ? JournalReason::LineWithoutEnd : JournalReason::NotARecord}});
            continue;
        }
        ParsedRecord parsed = FromJson(document.object());
        if (!parsed.record) {
            contents.skipped.push_back({number, {JournalReason::IncompleteRecord, parsed.missing}});
            continue;
        }
        contents.records.push_back(std::move(*parsed.record));
    }
}

}  // namespace zmt::journal
