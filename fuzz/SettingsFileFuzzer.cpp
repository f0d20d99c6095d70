// Any bytes as a settings file: read from disk, checked and applied to a fresh editor the
// way the program starts with it, every field left once as a user would, then saved and
// read back. Nothing may crash; a ConversionError from an evaluation is the program's own
// report of a field it cannot read and an allowed outcome.

#include "FuzzSupport.h"

#include "editor/ConfigEditor.h"
#include "editor/SettingsFile.h"
#include "editor/SettingsLines.h"
#include "language/LanguageText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zmt::fuzz {
namespace {

constexpr Field kFields[] = {Field::Skalin1, Field::Skalout1, Field::Skalin2,  Field::Skalout2,
                             Field::Testin1, Field::RelaisOn, Field::RelaisOff};

// In memory where the system has a memory file system: a save syncs the file to disk, which
// on a real disk would cost more than everything else the fuzzer does.
QString ScratchFolderTemplate() {
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(memory).isDir() ? memory : QDir::tempPath();
    return base + QStringLiteral("/zmt-fuzz-XXXXXX");
}

QString ScratchPath(const char* name) {
    static QTemporaryDir dir(ScratchFolderTemplate());
    Require(dir.isValid(), "a scratch folder");
    return dir.filePath(QString::fromLatin1(name));
}

void WriteBytes(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file opens");
    const auto length = static_cast<qint64>(size);
    Require(file.write(reinterpret_cast<const char*>(data), length) == length, "scratch written");
}

// The lines as the format defines them, byte by byte: Latin-1 text in which CR LF, LF and
// CR each end a line; a last line needs no terminator.
QStringList ExpectedLines(const std::uint8_t* data, std::size_t size) {
    QStringList lines;
    QString line;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (byte != '\r' && byte != '\n') {
            line += QChar(byte);
            continue;
        }
        lines << line;
        line.clear();
        if (byte == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

void RequireSaneState(const ConfigModel& model, const SessionState& session) {
    Require(session.ComPortNumber >= 1 && session.ComPortNumber <= 4, "port number 1..4");
    Require(session.CheckedComItem >= 1 && session.CheckedComItem <= 4, "one port item checked");
    Require(session.LanguageIndex == 0 || session.LanguageIndex == 1, "language 0 or 1");
    Require(model.LimitMode == "gwnorm" || model.LimitMode == "gwinv" || model.LimitMode == "gwno",
            "a known limit mode");
    Require(model.polaritaet == "+" || model.polaritaet == "+ / -", "a known polarity");
}

// Returns whether the lines were taken (a ConversionError comes only after all of them).
bool ApplyAsAtStart(const QStringList& lines, ConfigEditor& editor, Effects& fx) {
    try {
        const SettingsResult applied = ApplySettingsLines(lines, editor, fx);
        if (!applied.ok) return false;
        editor.UpdateRangeInfo();
        editor.Recalculate(fx);
    } catch (const ConversionError&) {
    }
    return true;
}

void LeaveEveryField(ConfigEditor& editor, Effects& fx) {
    for (const Field field : kFields) {
        try {
            editor.FieldExit(field, fx);
        } catch (const ConversionError&) {
        }
    }
}

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "saved file opens");
    return file.readAll();
}

// What the program writes at exit must be a file it accepts at the next start: the lines
// pass the check and reach the disk as Latin-1, each ended by CR LF. (The input itself went
// through the reader, whose splitting is compared above; reading every save back as well
// would triple the cost of an input.)
void RequireSavedFileReadsBack(const ConfigModel& model, const SessionState& session) {
    const QStringList lines = BuildSettingsLines(model, session);
    Require(lines.size() == SettingsLineCount, "20 lines are built");
    Require(CheckSettingsLines(lines).ok, "built lines pass the check");
    const QString path = ScratchPath("saved.dig");
    Require(WriteSettingsFile(path, lines).ok, "saved");
    Require(ReadWhole(path) == (lines.join(QStringLiteral("\r\n")) + "\r\n").toLatin1(),
            "saved as Latin-1 lines ended by CR LF");
}

void RunUnderLocale(const QLocale& locale, const QStringList& lines, bool accepted) {
    QLocale::setDefault(locale);
    ConfigModel model;
    SessionState session;
    ConfigEditor editor(model, session, Texts());
    Effects fx;
    const bool taken = ApplyAsAtStart(lines, editor, fx);
    Require(taken == accepted, "apply takes exactly what the check accepts");
    if (!taken) {
        Require(model == ConfigModel{} && session == SessionState{},
                "a refused file changes nothing");
        return;
    }
    RequireSaneState(model, session);
    LeaveEveryField(editor, fx);
    RequireSaneState(model, session);
    RequireSavedFileReadsBack(model, session);
}

}  // namespace
}  // namespace zmt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zmt::fuzz::EnsureApplication();
    zmt::fuzz::Texts();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zmt;
    using namespace zmt::fuzz;
    const QString path = ScratchPath(SettingsFileName);
    WriteBytes(path, data, size);
    const SettingsFileContent read = ReadSettingsFile(path);
    Require(read.result.ok, "a small regular file is always read");
    Require(read.lines == ExpectedLines(data, size), "lines split as the format says");
    const bool accepted = CheckSettingsLines(read.lines).ok;
    for (const QLocale& locale : kLocales) RunUnderLocale(locale, read.lines, accepted);
    return 0;
}
