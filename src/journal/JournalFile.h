#pragma once

// The journal file: records are appended whole, one line each, and never rewritten. Reading
// is tolerant: a line that is no record (torn by a power loss, binary, incomplete) is skipped
// with a warning naming it, and the rest is read.

#include "journal/JournalRecord.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zmt::journal {

// Why the journal, or one of its lines, cannot be used: a code that the reader says in its
// own language (JournalReasonText), with what the text names.
struct JournalReason {
    enum Code {
        None,
        System,            // the system's own reason, in `detail`
        FolderNotMade,     // the journal's folder, in `detail`
        IsAFolder,         // where the journal should be
        NotARegularFile,   // a FIFO or a device where the journal should be
        LineWithoutEnd,    // a record torn by a power loss or a crash
        NotARecord,        // a line that is no JSON object
        IncompleteRecord,  // the record lacks the field in `detail`
    };
    Code code = None;
    QString detail = {};

    bool isEmpty() const { return code == None; }
    bool operator==(const JournalReason&) const = default;
};

struct AppendResult {
    bool ok = false;
    JournalReason reason = {};  // why it failed
};

// Whether a record could be appended now, without writing anything: the folder exists or
// can be made and the journal is a regular file that opens for appending. A full disk
// shows only when a record is appended.
AppendResult ProbeJournal(const QString& path);

// The record as one line, in one write to the end of the file (O_APPEND, so that records
// of two programs never interleave), then flushed to the disk. A journal whose last line
// was torn gets a newline first, so the new record starts on a line of its own.
AppendResult AppendRecord(const QString& path, const JournalRecord& record);

struct SkippedLine {
    qint64 line = 0;
    JournalReason why;
};

struct JournalContents {
    std::vector<JournalRecord> records;  // in the order of the file
    std::vector<SkippedLine> skipped;
    JournalReason error;  // the journal cannot be read at all (a folder, a FIFO, no permission)
};

// A missing journal is an empty one. A write's two records are read as one (JournalPairing).
JournalContents ReadJournal(const QString& path);

}  // namespace zmt::journal
