// Why the journal or one of its lines cannot be used, said in the reader's language: the
// journal file gives only a code, and every code has its words in German and English.
#include "journal/JournalReasonText.h"

#include "language/LanguageText.h"

namespace zmt::journal {
namespace {

struct ReasonCase {
    JournalReason reason;
    const char* german;
    const char* english;
};

TEST(JournalReasonTextTest, EveryReasonIsSaidInBothLanguages) {
    LanguageText texts;
    texts.FillLanguageText();
    const std::vector<ReasonCase> cases{
        {{JournalReason::LineWithoutEnd},
         "unvollständiger Eintrag (die Zeile hat kein Ende)",
         "incomplete record (the line has no end)"},
        {{JournalReason::NotARecord}, "kein Protokolleintrag", "not a journal record"},
        {{JournalReason::IncompleteRecord, "time"},
         "unvollständiger Eintrag: kein \"time\"",
         "incomplete record: no \"time\""},
        {{JournalReason::IsAFolder}, "ein Ordner, keine Datei", "a folder, not a file"},
        {{JournalReason::NotARegularFile}, "keine gewöhnliche Datei", "not a regular file"},
        {{JournalReason::FolderNotMade, "/x/y"},
         "/x/y: der Ordner kann nicht angelegt werden",
         "/x/y: the folder cannot be made"},
        // The system's own words come as they are, in its locale.
        {{JournalReason::System, "Permission denied"}, "Permission denied", "Permission denied"},
        {{}, "", ""},
    };
    for (const ReasonCase& c : cases) {
        EXPECT_EQ(JournalReasonText(c.reason, texts, 0), QString::fromUtf8(c.german));
        EXPECT_EQ(JournalReasonText(c.reason, texts, 1), QString::fromUtf8(c.english));
    }
}

}  // namespace
}  // namespace zmt::journal
