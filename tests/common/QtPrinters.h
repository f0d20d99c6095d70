#pragma once

// Readable failure messages for the tests' Qt texts.

#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& lines, std::ostream* out) {
    *out << '{';
    for (const QString& line : lines) *out << " \"" << line.toStdString() << '"';
    *out << " }";
}

inline void PrintTo(const std::optional<QString>& text, std::ostream* out) {
    if (text)
        PrintTo(*text, out);
    else
        *out << "(unchanged)";
}
