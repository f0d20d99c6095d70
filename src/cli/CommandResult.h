#pragma once

#include "cli/Console.h"
#include "cli/ExitCode.h"

#include <QJsonObject>
#include <QStringList>

namespace zmt::cli {

// What a command gives back once it has run: its exit status and its result in both
// formats. What a command says while it runs (progress, prompts, a step's error, Ctrl-C)
// goes to the console at once; its result is printed only by the renderers below.
struct CommandResult {
    int exitCode = Success;
    // The result as text: lines on standard output, and the lines on standard error that
    // the JSON result carries in its fields instead (a failed exchange's lines).
    QStringList lines = {};
    QStringList textWarnings = {};
    // The result as JSON: the command's name and its fields, to which the renderer adds
    // `command` and `exitCode`. Without a name the text is the result in both formats
    // (help, a table, a command refused before it had a result).
    QString command = {};
    QJsonObject fields = {};
    // Said on standard error in both formats.
    QStringList warnings = {};
};

// A command that stopped before it had a result, and why.
CommandResult Refusal(int exitCode, const QStringList& why);

// The result as text: `lines` on standard output, then the warnings on standard error.
void RenderText(const CommandResult& result, Console& console);
// The result as one JSON object on a line, then `warnings` on standard error; a result
// without a name as text.
void RenderJson(const CommandResult& result, Console& console);

}  // namespace zmt::cli
