#include "sheet/SheetPdf.h"

#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "sheet/ConfigurationSheet.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace zmt {

namespace {

const QString PdfSuffix = QStringLiteral(".pdf");

SheetResult Failed(const SheetInput& input, const QString& path, const QString& why) {
    LanguageText texts;
    texts.FillLanguageText();
    const QString line = texts.text(rows::SheetNotSaved, input.session.LanguageIndex == 1);
    return {false, line.arg(QStringLiteral("%1: %2").arg(path, why)), path};
}

// Paints onto an opened save file; false when a byte did not reach it (a full disk).
bool PaintPdf(const ConfigurationSheet& sheet, QSaveFile& file, const QPageLayout& layout) {
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setTitle(sheet.title());
        writer.setCreator(QStringLiteral("zmt4824"));
        PrintSheetDocument(*BuildSheetDocument(sheet.contents()), writer);
    }
    // The writer does not report failed writes, and commit() no failed final flush.
    return file.flush() && file.error() == QFileDevice::NoError;
}

}  // namespace

QString WithPdfSuffix(const QString& path) {
    return path.endsWith(PdfSuffix, Qt::CaseInsensitive) ? path : path + PdfSuffix;
}

QString ProposedSheetName(const QString& configurationFile) {
    const QString base = QFileInfo(configurationFile).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("default") : base) + PdfSuffix;
}

SheetResult WriteConfigurationSheetPdf(const SheetInput& input, const QString& requested,
                                       const QPageLayout& layout) {
    const QString path = WithPdfSuffix(requested);
    // Laying out text needs the fonts, which only a GUI application provides.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Failed(input, path, QStringLiteral("no QGuiApplication to lay out the sheet"));
    QSaveFile file(path);
    // Writing in place would leave a truncated file behind a crash.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return Failed(input, path, file.errorString());
    if (!PaintPdf(ConfigurationSheet(input), file, layout)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failed(input, path, why);
    }
    if (!file.commit()) return Failed(input, path, file.errorString());
    return {true, {}, path};
}

void PrintConfigurationSheet(const SheetInput& input, QPagedPaintDevice& device) {
    PrintSheetDocument(*BuildSheetDocument(ConfigurationSheet(input).contents()), device);
}

}  // namespace zmt
