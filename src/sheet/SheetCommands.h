#pragma once

#include "language/Texts.h"
#include "sheet/SheetInput.h"
#include "sheet/SheetPdf.h"

#include <QString>

#include <functional>

namespace zmt {

class FileDialogs;
class PortController;
struct DeviceState;
struct SheetRequest;

struct SheetCommandsContext {
    PortController& controller;  // the configuration, its language and the memo
    FileDialogs& dialogs;
    const DeviceState& device;  // the meter's image and the calibration of this run
    // The journal record of this configuration's write in this run; none: no record named.
    std::function<QString(const SheetInput&)> journalRecord = {};
};

// The file menu's two sheet commands: print through the system's print dialog, or save as
// a PDF file under a name the user confirms. Success shows in the main window's memo, a
// failure in the error display; nothing is written where the user did not agree.
class SheetCommands {
  public:
    explicit SheetCommands(SheetCommandsContext context);

    void Print(const SheetRequest& request);
    void SavePdf(const SheetRequest& request);

    // The sheet's input as the main window holds the configuration now.
    SheetInput Input(const SheetRequest& request) const;

  private:
    bool MayWrite(const SheetRequest& request, const QString& path);
    void WritePdf(const SheetRequest& request, const QString& path,
                  const QPageLayout& layout = SheetPageLayout());
    void Report(const QString& line);

    SheetCommandsContext context_;
    Texts text_;
};

}  // namespace zmt
