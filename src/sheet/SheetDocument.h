#pragma once

#include "sheet/SheetContents.h"

#include <QPageLayout>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace zmt {

// The page a sheet is laid out on unless a printer says otherwise: A4, 15 mm margins.
QPageLayout SheetPageLayout();

// The sheet as a document: title, header, then each section with its tables. Every text is
// taken as plain text, and long words break anywhere, so no text from a file can leave
// the page or change the layout. Needs a QGuiApplication (fonts).
std::unique_ptr<QTextDocument> BuildSheetDocument(const SheetContents& contents);

// Lays the document out at the device's resolution on its printable area, so that the
// sheet fills the page as its layout says, without the margins and page numbers that Qt
// adds to a document printed without a page size.
void LayOutForDevice(QTextDocument& document, QPagedPaintDevice& device);

// LayOutForDevice, then paints the document's pages.
void PrintSheetDocument(QTextDocument& document, QPagedPaintDevice& device);

}  // namespace zmt
