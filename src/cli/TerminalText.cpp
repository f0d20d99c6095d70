#include "cli/TerminalText.h"

#include "common/FileNames.h"

namespace zmt::cli {

namespace {

QString Hex(char16_t code, int digits) {
    return QStringLiteral("%1").arg(uint(code), digits, 16, QLatin1Char('0'));
}

// How one UTF-16 unit is shown; empty when it is shown as it is.
QString EscapeOf(char16_t unit, bool paired) {
    switch (unit) {
        case u'\t':
            return QStringLiteral("\\t");
        case u'\n':
            return QStringLiteral("\\n");
        case u'\r':
            return QStringLiteral("\\r");
        default:
            break;
    }
    if (unit < 0x20) return QStringLiteral("\\x") + Hex(unit, 2);
    if (unit >= 0x7F && unit <= 0x9F) return QStringLiteral("\\u") + Hex(unit, 4);
    if (QChar::isSurrogate(unit) && !paired) {
        if (const auto byte = UndecodedByte(unit)) return QStringLiteral("\\x") + Hex(*byte, 2);
        return QStringLiteral("\\u") + Hex(unit, 4);
    }
    return {};
}

}  // namespace

QString TerminalText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool paired =
            (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ||
            (QChar::isLowSurrogate(unit) && i > 0 && text[i - 1].isHighSurrogate());
        const QString escape = EscapeOf(unit, paired);
        if (escape.isEmpty())
            shown += QChar(unit);
        else
            shown += escape;
    }
    return shown;
}

QString TerminalLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) line = TerminalText(line);
    return lines.join(u'\n');
}

}  // namespace zmt::cli
