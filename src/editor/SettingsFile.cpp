#include "editor/SettingsFile.h"

#include "common/FileNames.h"
#include "language/AddedRows.h"

#include <QFile>
#include <QSaveFile>

namespace zmt {
namespace {

QStringList SplitLines(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    QStringList lines = unified.split(u'\n');
    // The terminator of the last line does not start another one.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

SettingsResult Failed(int row, const QString& path) {
    return SettingsResult::failure(row, {path});
}

// The system's own reason, as the file reports it.
SettingsResult Failed(int row, const QString& path, const QString& why) {
    return SettingsResult::failure(row, {path, why});
}

QByteArray Encode(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toLatin1() + "\r\n";
    return bytes;
}

}  // namespace

SettingsFileContent ReadSettingsFile(const QString& path) {
    // By the name's own bytes: a name that is no UTF-8 is read as given.
    switch (KindOfFile(path)) {
        case FileKind::Missing:
            return {Failed(rows::FileDoesNotExist, path), {}};
        case FileKind::Folder:
            return {Failed(rows::FileIsAFolder, path), {}};
        case FileKind::Other:  // a FIFO or a device would block or never end
            return {Failed(rows::FileIsNotRegular, path), {}};
        case FileKind::Regular:
            break;
    }
    QFile file;
    QString reason;
    if (!OpenForReading(file, path, reason))
        return {Failed(rows::FileCannotBeRead, path, reason), {}};
    // One byte past the limit tells an oversized file (or an endless device) from a full one.
    const QByteArray bytes = file.read(MaxSettingsFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {Failed(rows::FileCannotBeRead, path, file.errorString()), {}};
    if (bytes.size() > MaxSettingsFileSize) return {Failed(rows::FileTooLarge, path), {}};
    return {{}, SplitLines(QString::fromLatin1(bytes))};
}

SettingsFileContent ReadUsableSettingsFile(const QString& path, ConfigEditor& editor) {
    SettingsFileContent read = ReadSettingsFile(path);
    if (read.result.ok) read.result = TrySettingsLines(read.lines, editor, path);
    return read;
}

SettingsResult WriteSettingsFile(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    // Writing in place would leave a truncated file behind a crash.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return Failed(rows::FileCannotBeWritten, path, file.errorString());
    return WriteSettingsLines(file, lines);
}

SettingsResult WriteSettingsLines(QSaveFile& file, const QStringList& lines) {
    const QString path = file.fileName();
    const QByteArray bytes = Encode(lines);
    // commit() does not report a failed final flush: a full disk would replace the file
    // with an empty one. Flush and check first.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
    if (!written) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failed(rows::FileCannotBeWritten, path, why);
    }
    if (!file.commit()) return Failed(rows::FileCannotBeWritten, path, file.errorString());
    return {};
}

}  // namespace zmt
