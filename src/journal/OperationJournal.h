#pragma once

// Keeps the journal of the operations of one program run: every operation that reports
// to it becomes one record, appended before the operation shows its result. An operation
// that writes leaves its first record, with what the meter held, before its first write
// frame; the outcome's record names that first one.

#include "device/OperationReport.h"
#include "journal/JournalRecord.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace zmt {
class LanguageText;
}

namespace zmt::journal {

// What the operation itself does not know: where the port leads, the configuration file,
// the language, and (the tool) the exit code that the report gives.
struct JournalContext {
    QString device;
    QString file;
    int language = 0;
    std::optional<int> exitCode;
};

class OperationJournal : public OperationReporter {
  public:
    using ContextSource = std::function<JournalContext(const OperationReport* report)>;

    OperationJournal(QString path, const LanguageText& texts, ContextSource context);

    const QString& path() const { return path_; }
    // The next record is a restore of the record `id`.
    void setRestoredFrom(const QString& id) { restoredFrom_ = id; }
    // The last record written in this run, and the last successful write or calibration.
    const std::optional<JournalRecord>& lastRecord() const { return last_; }
    const std::optional<JournalRecord>& lastWrite() const { return lastWrite_; }
    // Every successful write, calibration and restore of this run, in the order they ran.
    const std::vector<JournalRecord>& writes() const { return writes_; }
    // Whether the last append reached the disk.
    bool lastAppendFailed() const { return failed_; }

    QString OperationStarting(Operation operation, const QString& port) override;
    QString WriteStarting(const OperationReport& report) override;
    QString OperationEnded(const OperationReport& report) override;
    // The outcome of the operation whose first record was `startId` (empty: it had none).
    QString OperationEnded(const OperationReport& report, const QString& startId);
    // The id of the running operation's first record, which its outcome will name; the
    // operation no longer has one afterwards.
    QString TakeStartId() { return std::exchange(startId_, QString()); }

    // The record an ended operation gives, before it is appended.
    JournalRecord RecordOf(const OperationReport& report, const JournalContext& context) const;

  private:
    QString Warning(const QString& reason, int language);
    // Appends; the warning when it failed and this operation has not said so yet.
    QString Append(const JournalRecord& record, int language);

    QString path_;
    const LanguageText& texts_;
    ContextSource context_;
    QString restoredFrom_;
    std::optional<JournalRecord> last_;
    std::optional<JournalRecord> lastWrite_;
    std::vector<JournalRecord> writes_;
    bool failed_ = false;
    bool warned_ = false;  // this operation's record was said to be lost
    QString startId_;
    JournalRecord start_;  // the running operation's first record
};

// The record's time: now, ISO 8601 with milliseconds and the local offset.
QString RecordTime();
// The login name of the user running the program.
QString OperatorName();
// SHA-256 of the file's bytes in hexadecimal; empty when it cannot be read.
QString FileSha256(const QString& path);

}  // namespace zmt::journal
