#pragma once

#include "editor/ConfigEditor.h"

#include <QStringList>

#include <optional>

namespace zmt {

// The 20 lines shared by configuration files (*.dig) and the settings file.
inline constexpr int SettingsLineCount = 20;
// Lines 0 to 16 carry values; the three after them are empty.
inline constexpr int SettingsLinesRead = 17;

// Outcome of an operation on settings lines or files. A failure names its reason as a row
// of the language table with the texts for its placeholders, so that it is told in the
// language of the moment it is shown.
struct SettingsResult {
    bool ok = true;
    int reasonRow = 0;
    QStringList reasonArgs;

    static SettingsResult failure(int row, QStringList args) {
        return {false, row, std::move(args)};
    }
    // The reason in a language; empty for a success.
    QString message(const LanguageText& texts, int languageIndex) const;
};

// The model and session as the 20 settings lines.
QStringList BuildSettingsLines(const ConfigModel& model, const SessionState& session);

// Whether ApplySettingsLines would take the list: at least 17 lines, integer lines 3 and
// 4, and a device type of -1 (none) to 5.
SettingsResult CheckSettingsLines(const QStringList& lines);

// The language that the lines ask for (line 16), when there is such a line.
std::optional<int> LanguageOfLines(const QStringList& lines);

// Whether the lines can be applied as a whole: the check, then the lines applied and the
// configuration evaluated on a copy of the editor's model and session, so that a field
// that cannot be evaluated is found before anything changes. `source` names the file in
// the reason.
SettingsResult TrySettingsLines(const QStringList& lines, ConfigEditor& editor,
                                const QString& source);

// Copies lines 2 to 16 into the editor's model and session, then shows the mode's glyph,
// numbers the port and checks its menu item, and applies the decimal point as its radio
// button would (which evaluates the configuration). A list that fails the check changes
// nothing. The evaluation may raise ConversionError for a field it cannot read; by then
// every line is applied.
SettingsResult ApplySettingsLines(const QStringList& lines, ConfigEditor& editor, Effects& fx);

}  // namespace zmt
