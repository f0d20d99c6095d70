#include "sheet/SheetCommands.h"

#include "common/ErrorDisplay.h"
#include "editor/FileDialogs.h"
#include "editor/PortController.h"
#include "editor/ZMT1.h"
#include "language/AddedRows.h"

#include <QFileInfo>
#include <QPrinter>

namespace zmt {

SheetCommands::SheetCommands(SheetCommandsContext context)
    : context_(context), text_(context.controller.editor().wording()) {}

SheetInput SheetCommands::Input(const SheetRequest& request) const {
    ConfigEditor& editor = context_.controller.editor();
    SheetInput input{editor.model(), editor.session(), request.fileName, context_.device};
    if (context_.journalRecord) input.journalRecord = context_.journalRecord(input);
    return input;
}

void SheetCommands::Print(const SheetRequest& request) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(SheetPageLayout());
    printer.setDocName(QFileInfo(ProposedSheetName(request.fileName)).completeBaseName());
    if (!context_.dialogs.askPrinter(request.parent, printer)) return;
    // "Print to file" goes the way of every file the program writes: replaced in one step.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return WritePdf(request, printer.outputFileName(), printer.pageLayout());
    PrintConfigurationSheet(Input(request), printer);
    if (printer.printerState() == QPrinter::Error)
        return ShowErrorMessage(text_(rows::SheetNotPrinted));
    Report(text_(rows::SheetPrinted));
}

void SheetCommands::SavePdf(const SheetRequest& request) {
    // Where the other file dialogs open, and where they open next.
    DialogFolder& folder = context_.dialogs.folder();
    const QString chosen = context_.dialogs.askPdfName(
        request.parent, folder.initialPath(ProposedSheetName(request.fileName)));
    if (chosen.isEmpty()) return;
    folder.remember(chosen);
    const QString path = WithPdfSuffix(chosen);
    if (MayWrite(request, path)) WritePdf(request, path);
}

// The dialog confirmed the name without ".pdf"; the file with it may exist all the same.
bool SheetCommands::MayWrite(const SheetRequest& request, const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    QString question = text_(rows::OverwriteQuestion);
    question.replace(QStringLiteral("%s"), QFileInfo(path).absoluteFilePath());
    return context_.dialogs.askOverwrite(request.parent, question) == FileDialogs::Answer::Yes;
}

void SheetCommands::WritePdf(const SheetRequest& request, const QString& path,
                             const QPageLayout& layout) {
    const SheetResult written = WriteConfigurationSheetPdf(Input(request), path, layout);
    if (!written.ok) return ShowErrorMessage(written.message);
    Report(text_(rows::SheetSaved).arg(written.path));
}

void SheetCommands::Report(const QString& line) {
    context_.controller.EditorStep([&](Effects& fx) { fx.addMem(line); });
}

}  // namespace zmt
