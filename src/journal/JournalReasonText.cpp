#include "journal/JournalReasonText.h"

#include "language/AddedRows.h"
#include "language/LanguageText.h"

namespace zmt::journal {

namespace {

int RowOf(JournalReason::Code code) {
    switch (code) {
        case JournalReason::FolderNotMade:
            return rows::JournalFolderNotMade;
        case JournalReason::IsAFolder:
            return rows::JournalIsAFolder;
        case JournalReason::NotARegularFile:
            return rows::JournalNotARegularFile;
        case JournalReason::LineWithoutEnd:
            return rows::JournalLineWithoutEnd;
        case JournalReason::NotARecord:
            return rows::JournalNotARecord;
        case JournalReason::IncompleteRecord:
            return rows::JournalIncompleteRecord;
        case JournalReason::None:
        case JournalReason::System:
            break;
    }
    return -1;
}

}  // namespace

QString JournalReasonText(const JournalReason& reason, const LanguageText& texts, int language) {
    const int row = RowOf(reason.code);
    if (row < 0) return reason.detail;  // the system's own words, or nothing
    const QString text = texts.text(row, language);
    return reason.detail.isEmpty() ? text : text.arg(reason.detail);
}

}  // namespace zmt::journal
