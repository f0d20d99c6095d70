#pragma once

#include "editor/SettingsLines.h"

#include <QString>
#include <QStringList>

class QSaveFile;

namespace zmt {

// The settings file in the working directory, written at exit and at every save.
inline constexpr char SettingsFileName[] = "initdig.txt";

// No settings or configuration file comes near this; anything larger is not one.
inline constexpr qint64 MaxSettingsFileSize = 1 << 20;

struct SettingsFileContent {
    SettingsResult result;
    QStringList lines;
};

// Reads a settings or configuration file as 8-bit text (Latin-1) into lines; CR LF, LF
// and CR all end a line. A missing or unreadable file, a directory or an oversized file
// gives a result that says so.
SettingsFileContent ReadSettingsFile(const QString& path);

// A settings file read and tried as a whole; its result is the first refusal, and the
// lines are kept also when they are refused.
SettingsFileContent ReadUsableSettingsFile(const QString& path, ConfigEditor& editor);

// Writes the lines as Latin-1, each ended by CR LF. The file is replaced in one step:
// after a failure (full disk, no permission) the previous file is left as it was.
SettingsResult WriteSettingsFile(const QString& path, const QStringList& lines);

// The writing steps on an opened save file, for callers that bring their own.
SettingsResult WriteSettingsLines(QSaveFile& file, const QStringList& lines);

}  // namespace zmt
