#pragma once

// What the sheet tests share: the worked example's configuration, and the text of a PDF
// as pdftotext reads it, one simplified line per printed line.

#include "QtPrinters.h"
#include "editor/ConfigEditor.h"
#include "language/LanguageText.h"
#include "sheet/SheetContents.h"
#include "sheet/SheetInput.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QProcess>

namespace zmt::test {

// 20 mA, 0..20 mA shown as 0..2000, no decimal point, test input 10, contact at 2000
// closed above the limit, on COM1.
inline SheetInput WorkedExample(int languageIndex = 0) {
    SheetInput input;
    LanguageText texts;
    texts.FillLanguageText();
    ConfigEditor editor(input.model, input.session, texts);
    Effects fx;
    editor.ApplyFirstStartDefaults(fx);
    input.session.ComPortName = QStringLiteral("COM1");
    input.session.LanguageIndex = languageIndex;
    input.createdAt = QDateTime(QDate(2024, 5, 17), QTime(9, 30));
    return input;
}

// The PDF's text laid out as printed; empty lines dropped, blanks collapsed.
inline QStringList PdfLines(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(tool.waitForFinished(60000)) << "pdftotext did not finish";
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QStringList lines;
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n'))
        if (!line.simplified().isEmpty()) lines << line.simplified();
    return lines;
}

inline int PdfPages(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(tool.waitForFinished(60000));
    const QString info = QString::fromUtf8(tool.readAllStandardOutput());
    for (const QString& line : info.split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    return 0;
}

// The first line that contains `part`, or a null string.
inline QString LineWith(const QStringList& lines, const QString& part) {
    for (const QString& line : lines)
        if (line.contains(part)) return line;
    return {};
}

// The sheet's sections by heading, each as lines of its note and its table rows.
inline QStringList SectionLines(const SheetContents& sheet, const QString& heading) {
    for (const SheetSection& section : sheet.sections) {
        if (section.heading != heading) continue;
        QStringList lines;
        if (!section.note.isEmpty()) lines << section.note;
        for (const SheetTable& table : section.tables)
            for (const QStringList& row : table.rows) lines << row.join(QStringLiteral(" | "));
        return lines;
    }
    return {QStringLiteral("<no section %1>").arg(heading)};
}

}  // namespace zmt::test
