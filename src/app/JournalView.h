#pragma once

// What the journal window shows of the records, without a window: one line per operation
// (a series unit's write and its read-back as one), its cells in the interface language,
// and an image as the configuration it means, decoded as the configuration sheet decodes
// it.

#include "journal/JournalRecord.h"
#include "language/Texts.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zmt {

class LanguageText;

// One line of the window: an operation, and for a write the read-back that checked it.
struct JournalEntry {
    const journal::JournalRecord* record = nullptr;
    const journal::JournalRecord* readBack = nullptr;

    bool interrupted() const;
    // The image the entry's read-back found; else the record's own.
    const std::optional<journal::Image>& readBackImage() const;
};

// The entries of the listed records (indexes into `records`, newest first); a read-back
// that followed a write of the same file on the same meter joins that write's entry.
std::vector<JournalEntry> JournalEntries(const std::vector<journal::JournalRecord>& records,
                                         const std::vector<size_t>& listed);

// The cells of an entry's line, in the window's column order.
enum class JournalColumn { Time, Id, Port, Operation, File, Result, Count };
QStringList JournalCells(const JournalEntry& entry, const Texts& text);

// The id as the window lists it: its first characters, which the tool's --id takes.
QString ShortJournalId(const QString& id);
// A record time in the local format, with the date.
QString LocalJournalTime(const QString& isoTime);
// The operation in the interface language; a word of a newer program as it was read.
QString OperationName(const journal::JournalRecord& record, const Texts& text);

// The images an entry shows, each with its column head: a read only what it read.
struct ShownImage {
    QString head;
    journal::Image image;
};
std::vector<ShownImage> EntryImages(const JournalEntry& entry, const Texts& text);

// The configuration an image means: one row per item, its name and its value, as the
// configuration sheet lists a configuration (the image holds no device type and no test
// input, so those rows are left out).
std::vector<QStringList> ImageConfiguration(const journal::Image& image, const Texts& text);

}  // namespace zmt
