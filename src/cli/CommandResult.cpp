#include "cli/CommandResult.h"

#include <QJsonDocument>

namespace zmt::cli {

CommandResult Refusal(int exitCode, const QStringList& why) {
    return {.exitCode = exitCode, .warnings = why};
}

void RenderText(const CommandResult& result, Console& console) {
    for (const QString& line : result.lines) console.Print(line);
    for (const QString& line : result.warnings) console.Warn(line);
    for (const QString& line : result.textWarnings) console.Warn(line);
}

void RenderJson(const CommandResult& result, Console& console) {
    if (result.command.isEmpty()) return RenderText(result, console);
    QJsonObject object = result.fields;
    object["command"] = result.command;
    object["exitCode"] = result.exitCode;
    console.Print(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    for (const QString& line : result.warnings) console.Warn(line);
}

}  // namespace zmt::cli
