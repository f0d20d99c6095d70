#include "sheet/SheetDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace zmt {

namespace {

constexpr qreal BodyPointSize = 9.5;
constexpr qreal MarginMillimetres = 15;

const QString TitleStyle =
    QStringLiteral("font-size: 13pt; font-weight: bold; margin-bottom: 6px;");
const QString HeadingStyle =
    QStringLiteral("font-size: 10.5pt; font-weight: bold; margin-top: 8px; margin-bottom: 2px;");
const QString GridTable = QStringLiteral(
    "<table border='1' cellspacing='0' cellpadding='2' width='100%' "
    "style='border-collapse: collapse; border-style: solid; border-color: #999999;'>");
const QString ListTable =
    QStringLiteral("<table border='0' cellspacing='0' cellpadding='1' width='100%'>");

QString Cells(const QStringList& texts, const QString& tag, const QString& attributes = {}) {
    QString html;
    for (const QString& text : texts)
        html += QStringLiteral("<%1%2>%3</%1>").arg(tag, attributes, text.toHtmlEscaped());
    return html;
}

// A label/value list: labels in the narrower first column; a lone text spans the row.
QString ListHtml(const SheetTable& table) {
    qsizetype columns = 1;
    for (const QStringList& row : table.rows) columns = std::max(columns, row.size());
    QString html = ListTable;
    for (const QStringList& row : table.rows) {
        const QString label = row.size() > 1 ? QStringLiteral(" width='38%'")
                              : columns > 1  ? QStringLiteral(" colspan='%1'").arg(columns)
                                             : QString();
        html += QStringLiteral("<tr><td%1>%2</td>").arg(label, row.value(0).toHtmlEscaped());
        html += Cells(row.mid(1), QStringLiteral("td")) + QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString GridHtml(const SheetTable& table) {
    QString html = GridTable + QStringLiteral("<tr>") +
                   Cells(table.header, QStringLiteral("th"),
                         QStringLiteral(" align='left' bgcolor='#eeeeee'")) +
                   QStringLiteral("</tr>");
    for (const QStringList& row : table.rows)
        html += QStringLiteral("<tr>") + Cells(row, QStringLiteral("td")) + QStringLiteral("</tr>");
    return html + QStringLiteral("</table>");
}

QString TableHtml(const SheetTable& table) {
    return table.header.isEmpty() ? ListHtml(table) : GridHtml(table);
}

QString SectionHtml(const SheetSection& section) {
    QString html =
        QStringLiteral("<p style='%1'>%2</p>").arg(HeadingStyle, section.heading.toHtmlEscaped());
    if (!section.note.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(section.note.toHtmlEscaped());
    for (const SheetTable& table : section.tables) html += TableHtml(table);
    return html;
}

QString SheetHtml(const SheetContents& contents) {
    QString html = QStringLiteral("<html><body><p style='%1'>%2</p>")
                       .arg(TitleStyle, contents.title.toHtmlEscaped());
    html += TableHtml(contents.header);
    for (const SheetSection& section : contents.sections) html += SectionHtml(section);
    return html + QStringLiteral("</body></html>");
}

}  // namespace

QPageLayout SheetPageLayout() {
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
        QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> BuildSheetDocument(const SheetContents& contents) {
    auto document = std::make_unique<QTextDocument>();
    QFont font = document->defaultFont();
    font.setPointSizeF(BodyPointSize);
    // Ligatures would put one glyph for "fi" into the PDF, which a search for the word misses.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document->setDefaultFont(font);
    // A word longer than its cell (a path, a text from a file) breaks instead of widening it.
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setHtml(SheetHtml(contents));
    document->setMetaInformation(QTextDocument::DocumentTitle, contents.title);
    return document;
}

void LayOutForDevice(QTextDocument& document, QPagedPaintDevice& device) {
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
}

void PrintSheetDocument(QTextDocument& document, QPagedPaintDevice& device) {
    LayOutForDevice(document, device);
    document.print(&device);
}

}  // namespace zmt
