#include "journal/OperationJournal.h"

#include "common/FileNames.h"
#include "journal/JournalFile.h"
#include "journal/JournalReasonText.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QUuid>

namespace zmt::journal {

namespace {

JournalResult ResultOf(OperationOutcome outcome) {
    switch (outcome) {
        case OperationOutcome::Succeeded:
            return JournalResult::Succeeded;
        case OperationOutcome::Failed:
            return JournalResult::Failed;
        case OperationOutcome::Cancelled:
            break;
    }
    return JournalResult::Cancelled;
}

}  // namespace

QString RecordTime() {
    return IsoTime(QDateTime::currentDateTime());
}

QString FileSha256(const QString& path) {
    QFile file;
    QString reason;
    if (path.isEmpty() || !OpenForReading(file, path, reason)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return {};
    return QString::fromLatin1(hash.result().toHex());
}

OperationJournal::OperationJournal(QString path, const LanguageText& texts, ContextSource context)
    : path_(std::move(path)), texts_(texts), context_(std::move(context)) {}

QString OperationJournal::Warning(const QString& reason, int language) {
    warned_ = true;
    return texts_.text(rows::JournalNotWritable, language).arg(path_, reason);
}

QString OperationJournal::Append(const JournalRecord& record, int language) {
    const AppendResult appended = AppendRecord(path_, record);
    failed_ = !appended.ok;
    if (appended.ok || warned_) return {};
    return Warning(JournalReasonText(appended.reason, texts_, language), language);
}

QString OperationJournal::OperationStarting(Operation, const QString&) {
    warned_ = false;
    startId_.clear();
    const AppendResult probe = ProbeJournal(path_);
    if (probe.ok) return {};
    const int language = context_ ? context_(nullptr).language : 0;
    return Warning(JournalReasonText(probe.reason, texts_, language), language);
}

QString OperationJournal::WriteStarting(const OperationReport& report) {
    const JournalContext context = context_ ? context_(&report) : JournalContext{};
    start_ = RecordOf(report, context);
    start_.result = JournalResult::Started;
    start_.verdict.clear();
    start_.exitCode.reset();
    const QString warning = Append(start_, context.language);
    startId_ = failed_ ? QString() : start_.id;
    return warning;
}

JournalRecord OperationJournal::RecordOf(const OperationReport& report,
                                         const JournalContext& context) const {
    JournalRecord record;
    record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.time = RecordTime();
    record.version = QCoreApplication::applicationVersion().isEmpty()
                         ? QStringLiteral(ZMT_PROGRAM_VERSION)
                         : QCoreApplication::applicationVersion();
    record.operation = OperationWord(report.operation);
    record.port = report.port;
    record.device = context.device;
    record.operatorName = OperatorName();
    record.file = context.file;
    record.fileSha256 = FileSha256(context.file);
    record.language = context.language == 0 ? QStringLiteral("de") : QStringLiteral("en");
    record.asFound = report.asFound;
    record.asFoundValid = report.asFoundValid;
    record.written = report.written;
    record.readBack = report.readBack;
    record.offsetReading = report.offsetReading;
    record.gainReading = report.gainReading;
    record.result = ResultOf(report.outcome);
    record.verdict = report.verdict;
    record.exitCode = context.exitCode;
    if (report.operation == Operation::Restore) record.restoredFrom = restoredFrom_;
    return record;
}

QString OperationJournal::OperationEnded(const OperationReport& report) {
    return OperationEnded(report, TakeStartId());
}

QString OperationJournal::OperationEnded(const OperationReport& report, const QString& startId) {
    const JournalContext context = context_ ? context_(&report) : JournalContext{};
    JournalRecord record = RecordOf(report, context);
    if (report.operation == Operation::Restore) restoredFrom_.clear();
    record.outcomeOf = startId;
    const QString warning = Append(record, context.language);
    if (failed_) return warning;
    // What this run shows of it: the operation under its first record's id and time.
    if (!startId.isEmpty() && start_.id == startId) {
        record.id = start_.id;
        record.time = start_.time;
        record.outcomeOf.clear();
    }
    const Operation operation = report.operation;
    if (WritesAConfiguration(operation) && record.succeeded()) lastWrite_ = record;
    if (record.succeeded() && (WritesAConfiguration(operation) || operation == Operation::Restore))
        writes_.push_back(record);
    last_ = std::move(record);
    return {};
}

}  // namespace zmt::journal
