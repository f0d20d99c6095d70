#pragma once

// What the series window writes: a copy of the main window's configuration, or of a
// configuration file, taken when it is chosen, with the line that sums it up.

#include "editor/ConfigModel.h"
#include "editor/SettingsLines.h"

#include <QString>

namespace zmt {

class LanguageText;

struct SeriesSource {
    ConfigModel model;
    QString file;  // the configuration file; empty: the main window's configuration
};

// The file, evaluated as the main window loads it, into `source`; a refused file leaves
// `source` as it was and its result says why.
SettingsResult LoadSeriesSource(const QString& path, LanguageText& texts, SeriesSource& source);

// "<source>: <device type>, <scaling>, limit <on>/<off>" in the language.
QString SeriesSourceLine(const SeriesSource& source, const LanguageText& texts, int language);

}  // namespace zmt
