#include "cli/StdioConsole.h"

#include <cstdio>

// What the console does alike on every platform: the lines out, the progress line in place,
// and the input split into lines. Only how input and Ctrl-C arrive differs.

namespace zmt::cli {

namespace {

void Write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

void StdioConsole::Print(const QString& line) {
    ClearStatus();
    Write(stdout, line + u'\n');
}

void StdioConsole::Warn(const QString& line) {
    ClearStatus();
    Write(stderr, line + u'\n');
}

// In place: back to the start of the line, the new text, the rest of the line cleared.
void StdioConsole::Status(const QString& line) {
    if (!statusAllowed_) return;
    if (line.isEmpty()) return ClearStatus();
    Write(stderr, QStringLiteral("\r") + line + QStringLiteral("\033[K"));
    statusShown_ = true;
}

void StdioConsole::ClearStatus() {
    if (!statusShown_) return;
    Write(stderr, QStringLiteral("\r\033[K"));
    statusShown_ = false;
}

std::optional<QString> StdioConsole::NextLine() {
    const qsizetype end = pending_.indexOf('\n');
    if (end < 0) {
        // The last line of a pipe may come without its line feed.
        if (!inputEnded_ || pending_.isEmpty()) return std::nullopt;
        const QString last = InputText(pending_).remove(u'\r');
        pending_.clear();
        return last;
    }
    const QString line = InputText(pending_.left(end)).remove(u'\r');
    pending_.remove(0, end + 1);
    return line;
}

}  // namespace zmt::cli
