#pragma once

#include "editor/ConfigEditor.h"
#include "editor/SettingsLines.h"

#include <QString>
#include <QStringList>

namespace zmt::cli {

// A configuration file taken into the editor as the main window loads it, with the same
// all-or-nothing checks (a refused file changes nothing and its line is named), then
// evaluated; the evaluation's memo lines come back in `memo`, once and in `language`
// (the tool's output language), while the session keeps the file's language line.
SettingsResult LoadConfiguration(const QString& path, ConfigEditor& editor, int language,
                                 QStringList& memo);

// What a first start sets, for fields a file does not give.
void ApplyDefaults(ConfigEditor& editor);

}  // namespace zmt::cli
