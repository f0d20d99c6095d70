#include "cli/ConfigFile.h"

#include "editor/SettingsFile.h"

namespace zmt::cli {

namespace {

void Collect(const Effects& fx, QStringList& memo) {
    for (const QString& line : fx.applyTo({})) memo << line;
}

}  // namespace

SettingsResult LoadConfiguration(const QString& path, ConfigEditor& editor, int language,
                                 QStringList& memo) {
    // Tried on a copy first: a file that cannot be taken as a whole changes nothing.
    const SettingsFileContent read = ReadUsableSettingsFile(path, editor);
    if (!read.result.ok) return read.result;
    Effects inFileLanguage;  // the same evaluation again below, in the tool's language
    ApplySettingsLines(read.lines, editor, inFileLanguage);
    const int fileLanguage = editor.session().LanguageIndex;
    editor.session().LanguageIndex = language;
    Effects fx;
    editor.UpdateRangeInfo();
    editor.Recalculate(fx);
    editor.session().LanguageIndex = fileLanguage;
    Collect(fx, memo);
    return {};
}

void ApplyDefaults(ConfigEditor& editor) {
    Effects ignored;
    editor.ApplyFirstStartDefaults(ignored);
}

}  // namespace zmt::cli
