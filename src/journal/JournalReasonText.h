#pragma once

#include "journal/JournalFile.h"

#include <QString>

namespace zmt {
class LanguageText;
}

namespace zmt::journal {

// Why the journal, or one of its lines, cannot be used, in the reader's language (0 German,
// 1 English): the journal file itself knows only the reason's code.
QString JournalReasonText(const JournalReason& reason, const LanguageText& texts, int language);

}  // namespace zmt::journal
