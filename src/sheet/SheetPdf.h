#pragma once

#include "sheet/SheetDocument.h"
#include "sheet/SheetInput.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

namespace zmt {

// Outcome of writing a sheet: the file actually written, or what went wrong (in the
// sheet's language, naming the file and the reason).
struct SheetResult {
    bool ok = true;
    QString message;
    QString path;
};

// The name with ".pdf" added unless it already ends so (in any case).
QString WithPdfSuffix(const QString& path);

// The name a save dialog proposes: the configuration file's base name, else "default",
// with ".pdf".
QString ProposedSheetName(const QString& configurationFile);

// Writes the sheet of `input` as a PDF to `path` (".pdf" added when missing). The file is
// replaced in one step: after a failure (no permission, full disk, no such folder) a
// previous file is left as it was. Needs a QGuiApplication; the offscreen platform will do.
SheetResult WriteConfigurationSheetPdf(const SheetInput& input, const QString& path,
                                       const QPageLayout& layout = SheetPageLayout());

// Paints the sheet of `input` on a printer (or any paged device) in its page layout.
void PrintConfigurationSheet(const SheetInput& input, QPagedPaintDevice& device);

}  // namespace zmt
