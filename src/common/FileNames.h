#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace zmt {

// A file name as the file system holds it: bytes, usually UTF-8. A name that is no UTF-8
// keeps each byte that belongs to no UTF-8 sequence as one of U+DC80..U+DCFF, so that
// encoding the name again gives the very same bytes (QFile::decodeName would turn them
// into U+FFFD and open another file, or none).
QString DecodeFileName(const QByteArray& name);
QByteArray EncodeFileName(const QString& name);

// The byte that a unit of a decoded name stands for, when it stands for one.
std::optional<unsigned char> UndecodedByte(char16_t unit);

// Whether the name came as UTF-8 throughout: only such a name can be written through the
// toolkit's files, which encode the name as UTF-8.
bool IsUtf8Name(const QString& name);

enum class FileKind { Missing, Folder, Regular, Other };

// What the name names, its links followed.
FileKind KindOfFile(const QString& name);

// Opens the file of this name for reading, by the name's own bytes; false with the
// system's reason in `reason`.
bool OpenForReading(QFile& file, const QString& name, QString& reason);

}  // namespace zmt
