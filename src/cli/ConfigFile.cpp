#include "ConfigFile.h"

#include "SettingsFile.h"

namespace zmt::cli {

namespace {

void Collect(const Effects& fx, QStringList& memo) {
    for (const QString& line : fx.applyTo({})) memo << line;
}

}  // namespace

SettingsResult LoadConfiguration(const QString& path, ConfigEditor& editor, QStringList& memo) {
    // Tried on a copy first: a file that cannot be taken as a whole changes nothing.
    const SettingsFileContent read = ReadUsableSettingsFile(path, editor);
    if (!read.result.ok) return read.result;
    Effects fx;
    ApplySettingsLines(read.lines, editor, fx);
    editor.UpdateRangeInfo();
    editor.Recalculate(fx);
    Collect(fx, memo);
    return {};
}

void ApplyDefaults(ConfigEditor& editor) {
    Effects ignored;
    editor.ApplyFirstStartDefaults(ignored);
}

}  // namespace zmt::cli
