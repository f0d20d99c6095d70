// Bad input at the terminal: what comes from outside (a file's lines, file names, journal
// fields) reaches the terminal with its control characters written out, a file name that is
// no UTF-8 opens the file it names, and the journal's reasons follow the language.
#include "CliFixture.h"

#include "common/FileNames.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <unistd.h>

namespace zmt::cli {
namespace {

// Whether anything a terminal acts on is in the text: C0, DEL, C1, or a lone surrogate
// (which the terminal gets as bytes that are no UTF-8).
bool HoldsControls(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F)) return true;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(unit)) return true;
    }
    return false;
}

QString FromName(const QByteArray& bytes) {
    return DecodeFileName(bytes);
}

// A file under a name that is no UTF-8, renamed from `from`: the toolkit that removes the
// test's folder cannot name it, so it goes at the end by its bytes.
class FileNamedByBytes {
  public:
    FileNamedByBytes(const char* from, QByteArray name) : name_(std::move(name)) {
        EXPECT_EQ(::rename(from, name_.constData()), 0);
    }
    ~FileNamedByBytes() { ::unlink(name_.constData()); }
    FileNamedByBytes(const FileNamedByBytes&) = delete;
    FileNamedByBytes& operator=(const FileNamedByBytes&) = delete;

  private:
    QByteArray name_;
};

struct ShownCase {
    const char16_t* text;
    const char* shown;
};

TEST(TerminalTextTest, ControlCharactersAreWrittenOut) {
    const QString undecodedFf = FromName(
        "a\xff"
        "b");
    const std::vector<ShownCase> cases{
        {u"plain text, Umlaute äöü, € and 😀", "plain text, Umlaute äöü, € and 😀"},
        {u"\x1b[2J\x1b]0;title\a", "\\x1b[2J\\x1b]0;title\\x07"},
        {u"tab\there, cr\rline\nfeed", "tab\\there, cr\\rline\\nfeed"},
        {u"del\x7f c1\x9b"
         u"2J next\x85",
         "del\\u007f c1\\u009b2J next\\u0085"},
        {u"lone \xd800 high, lone \xdfff low", "lone \\ud800 high, lone \\udfff low"},
        {u"\\x1b stays as typed", "\\x1b stays as typed"},
    };
    for (const ShownCase& c : cases) {
        EXPECT_EQ(TerminalText(QString::fromUtf16(c.text)), QString::fromUtf8(c.shown)) << c.shown;
    }
    EXPECT_EQ(TerminalText(QStringLiteral("nul") + QChar(0) + u'!'), "nul\\x00!");
    EXPECT_EQ(TerminalText(undecodedFf), "a\\xffb");
    // A line of the result is shown line by line, each line as above.
    EXPECT_EQ(TerminalLines(QStringLiteral("one\x1b\ntwo\t")), "one\\x1b\ntwo\\t");
}

TEST(TerminalTextTest, AJsonLineStaysJsonOfTheSameValue) {
    const QString value = QStringLiteral("a\x1b[31m\t") + QChar(0x7F) + QChar(0x9B) +
                          QStringLiteral("ä") + FromName("\xfe");
    const QString line = QString::fromUtf8(
        QJsonDocument(QJsonObject{{"file", value}}).toJson(QJsonDocument::Compact));
    const QString shown = TerminalLines(line);
    EXPECT_FALSE(HoldsControls(shown)) << shown.toStdString();
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(shown.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << shown.toStdString();
    EXPECT_EQ(parsed.object()["file"].toString(), value);
}

struct NameCase {
    const char* what;
    QByteArray bytes;
    bool utf8;
};

TEST(FileNamesTest, EveryNameEncodesToItsOwnBytes) {
    const std::vector<NameCase> cases{
        {"ASCII", "plain.dig", true},
        {"UTF-8", "Zähler €😀.dig", true},
        {"a byte 0xFF",
         "a\xff"
         "b.dig",
         false},
        {"Latin-1 umlaut", "Z\xe4hler.dig", false},
        {"overlong slash",
         "a\xc0\xaf"
         "b",
         false},
        {"encoded surrogate",
         "a\xed\xa0\x80"
         "b",
         false},
        {"sequence cut short", "a\xe2\x82", false},
        {"past U+10FFFF", "\xf4\x90\x80\x80", false},
        {"lone continuation", "\x80\xbf", false},
    };
    for (const NameCase& c : cases) {
        const QString name = DecodeFileName(c.bytes);
        EXPECT_EQ(EncodeFileName(name), c.bytes) << c.what;
        EXPECT_EQ(IsUtf8Name(name), c.utf8) << c.what;
        if (c.utf8) {
            EXPECT_EQ(name, QString::fromUtf8(c.bytes)) << c.what;
        }
    }
}

// The tool's runs in this process with a journal of the test's own.
class CliTerminalTest : public CliTest {
  protected:
    CliTerminalTest() {
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
    }
    ~CliTerminalTest() override { qputenv("XDG_DATA_HOME", savedDataHome_); }

    // Line by line: the line feeds between the tool's lines are its own.
    void ExpectNoControls() const {
        for (const QString& said : console.out + console.err)
            for (const QString& line : said.split(u'\n'))
                EXPECT_FALSE(HoldsControls(line)) << line.toStdString();
    }
    static void WriteJournal(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(journal::JournalPath()).absolutePath());
        QFile file(journal::JournalPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

  private:
    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

TEST_F(CliTerminalTest, ALineOfTheFileHoldingAnEscapeSequenceIsShownWrittenOut) {
    // Latin-1: byte 0x9B is the C1 control that some terminals take as ESC [.
    WriteConfiguration("evil.dig", {{5, QStringLiteral("1\x1b[2J\x1b]0;owned\a") + QChar(0x9B)}});
    EXPECT_EQ(Run({"show", "evil.dig", "--lang", "en"}), Success);
    ExpectNoControls();
    EXPECT_TRUE(console.out.contains("input (1): 1\\x1b[2J\\x1b]0;owned\\x07\\u009b mA"))
        << Out().toStdString();
    EXPECT_TRUE(Out().contains("input (1): \"1\\x1b[2J")) << Out().toStdString();

    console = {};
    EXPECT_EQ(Run({"show", "evil.dig", "--json", "--lang", "en"}), Success);
    ExpectNoControls();
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_EQ(json["configuration"]["input1"].toString(),
              QStringLiteral("1\x1b[2J\x1b]0;owned\a") + QChar(0x9B));
}

TEST_F(CliTerminalTest, AFileNameThatIsNoUtf8OpensTheFileItNames) {
    const QByteArray bytes = "Z\xe4hler-\xff.dig";
    WriteConfiguration("example.dig", {{5, "5"}});
    const FileNamedByBytes file("example.dig", bytes);
    const QString name = DecodeFileName(bytes);
    EXPECT_EQ(Run({"show", name, "--lang", "en"}), Success) << Err().toStdString();
    EXPECT_TRUE(console.out.contains("input (1): 5 mA")) << Out().toStdString();

    console = {};
    EXPECT_EQ(Run({"show", DecodeFileName("missing-\xff\x1b.dig"), "--lang", "en"}), FileError);
    ExpectNoControls();
    EXPECT_TRUE(Err().contains("missing-\\xff\\x1b.dig")) << Err().toStdString();
}

TEST_F(CliTerminalTest, AWriteOfAFileNamedByBytesIsJournaledWithTheFilesHash) {
    AddMeter();
    WriteConfiguration("example.dig");
    const QByteArray bytes = "meter-\xff.dig";
    const FileNamedByBytes file("example.dig", bytes);
    ASSERT_EQ(Run({"write", "--port", "COM1", DecodeFileName(bytes), "--lang", "en", "--quiet"}),
              Success)
        << Err().toStdString();
    const auto records = journal::ReadJournal(journal::JournalPath()).records;
    ASSERT_FALSE(records.empty());
    EXPECT_TRUE(records.back().file.endsWith(DecodeFileName(bytes)))
        << records.back().file.toStdString();
    EXPECT_EQ(records.back().fileSha256.size(), 64);

    console = {};
    EXPECT_EQ(Run({"journal", "--lang", "en"}), Success);
    EXPECT_TRUE(Out().contains("  meter-\\xff.dig  succeeded")) << Out().toStdString();
}

TEST_F(CliTerminalTest, JournalFieldsAreShownWrittenOutAndListedAsTheyAre) {
    journal::JournalRecord record;
    record.id = QStringLiteral("id\x1b[1A");
    record.time = "2026-12-10T08:00:00.000+01:00";
    record.operation = "write";
    record.port = QStringLiteral("COM1\r");
    record.device = QStringLiteral("/dev/tty\x1b]0;x\a");
    record.operatorName = QStringLiteral("op\x9b");
    record.file = DecodeFileName("a\xff\x1b[2J.dig");
    record.result = journal::JournalResult::Succeeded;
    ASSERT_TRUE(journal::AppendRecord(journal::JournalPath(), record).ok);

    EXPECT_EQ(Run({"journal", "--lang", "en"}), Success);
    ExpectNoControls();
    EXPECT_TRUE(Out().contains("COM1\\r  /dev/tty\\x1b]0;x\\x07  write  a\\xff\\x1b[2J.dig"))
        << Out().toStdString();
    EXPECT_TRUE(Out().contains("id\\x1b[1A")) << Out().toStdString();

    console = {};
    EXPECT_EQ(Run({"journal", "--json", "--lang", "en"}), Success);
    ExpectNoControls();
    const QJsonArray records =
        QJsonDocument::fromJson(Out().toUtf8()).object()["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0]["device"].toString(), record.device);
    EXPECT_EQ(records[0]["id"].toString(), record.id);
}

struct SkipCase {
    const char* language;
    const char* torn;
    const char* noRecord;
};

TEST_F(CliTerminalTest, SkippedJournalLinesAreSaidInTheLanguageAndListedInEnglish) {
    WriteJournal("[1]\n{\"id\":\"x\"");
    const std::vector<SkipCase> cases{
        {"de", "Zeile 2 übersprungen: unvollständiger Eintrag (die Zeile hat kein Ende)",
         "Zeile 1 übersprungen: kein Protokolleintrag"},
        {"en", "line 2 skipped: incomplete record (the line has no end)",
         "line 1 skipped: not a journal record"},
    };
    for (const SkipCase& c : cases) {
        console = {};
        EXPECT_EQ(Run({"journal", "--lang", c.language}), Success);
        EXPECT_TRUE(Err().contains(QString::fromUtf8(c.torn))) << Err().toStdString();
        EXPECT_TRUE(Err().contains(QString::fromUtf8(c.noRecord))) << Err().toStdString();
    }
    console = {};
    EXPECT_EQ(Run({"journal", "--json", "--lang", "de"}), Success);
    const QJsonArray skipped =
        QJsonDocument::fromJson(Out().toUtf8()).object()["skipped"].toArray();
    ASSERT_EQ(skipped.size(), 2);
    EXPECT_EQ(skipped[1]["why"].toString(), "incomplete record (the line has no end)");
}

TEST(CliToolNames, TheToolTakesAFileNameByItsBytes) {
    test::WorkingDirectory workDir;
    WriteConfiguration("meter.dig", {{5, "7"}});
    const FileNamedByBytes file("meter.dig", "meter-\xff.dig");
    // Through the shell: the toolkit's process arguments would encode the name as UTF-8.
    QProcess cli;
    cli.start("/bin/sh", {"-c", "exec \"$0\" show \"$(printf 'meter-\\377.dig')\" --lang en",
                          QStringLiteral(ZMT_CLI_TOOL)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), Success) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().contains("input (1): 7 mA"));

    // A name that cannot be written as given is refused before anything runs.
    cli.start("/bin/sh",
              {"-c", "exec \"$0\" report example.dig --output \"$(printf 'sheet-\\377')\"",
               QStringLiteral(ZMT_CLI_TOOL)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), UsageError);
    EXPECT_TRUE(cli.readAllStandardError().contains("--output 'sheet-\\xff' is no UTF-8 name"));
}

}  // namespace
}  // namespace zmt::cli
