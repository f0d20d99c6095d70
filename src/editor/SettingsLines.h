#pragma once

#include "ConfigEditor.h"

#include <QStringList>

namespace zmt {

// The 20 lines shared by configuration files (*.dig) and the settings file.
inline constexpr int SettingsLineCount = 20;
// Lines 0 to 16 carry values; the three after them are empty.
inline constexpr int SettingsLinesRead = 17;

// Outcome of an operation on settings lines or files; `message` says what went wrong.
struct SettingsResult {
    bool ok = true;
    QString message;

    static SettingsResult failure(const QString& why) { return {false, why}; }
};

// The model and session as the 20 settings lines.
QStringList BuildSettingsLines(const ConfigModel& model, const SessionState& session);

// Whether ApplySettingsLines would take the list: at least 17 lines, integer lines 3 and
// 4, and a device type of -1 (none) to 5.
SettingsResult CheckSettingsLines(const QStringList& lines);

// Copies lines 2 to 16 into the editor's model and session, then shows the mode's glyph,
// numbers the port and checks its menu item, and applies the decimal point as its radio
// button would (which evaluates the configuration). A list that fails the check changes
// nothing. The evaluation may raise ConversionError for a field it cannot read; by then
// every line is applied.
SettingsResult ApplySettingsLines(const QStringList& lines, ConfigEditor& editor, Effects& fx);

}  // namespace zmt
