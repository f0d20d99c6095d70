#include "ConfigFile.h"

#include "SettingsFile.h"

namespace zmt::cli {

namespace {

void Collect(const Effects& fx, QStringList& memo) {
    for (const QString& line : fx.applyTo({})) memo << line;
}

}  // namespace

SettingsResult LoadConfiguration(const QString& path, ConfigEditor& editor, QStringList& memo) {
    const SettingsFileContent read = ReadSettingsFile(path);
    if (!read.result.ok) return read.result;
    Effects fx;
    try {
        const SettingsResult applied = ApplySettingsLines(read.lines, editor, fx);
        if (!applied.ok)
            return SettingsResult::failure(path + QStringLiteral(": ") + applied.message);
        editor.UpdateRangeInfo();
        editor.Recalculate(fx);
    } catch (const ConversionError& error) {
        Collect(fx, memo);
        memo << QString::fromUtf8(error.what());
        return {};
    }
    Collect(fx, memo);
    return {};
}

void ApplyDefaults(ConfigEditor& editor) {
    Effects ignored;
    editor.ApplyFirstStartDefaults(ignored);
}

}  // namespace zmt::cli
