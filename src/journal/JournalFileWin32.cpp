#include "journal/JournalFile.h"

#include "journal/JournalPairing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <windows.h>

namespace zmt::journal {

// The journal's file calls on Windows: appends with FILE_APPEND_DATA, so that every write
// goes to the end of the file whoever else appends, each flushed with FlushFileBuffers.

namespace {

constexpr qint64 kRecordRoom = 16 * 1024;

QString SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = length ? QString::fromWCharArray(text, int(length)).trimmed()
                            : QStringLiteral("system error %1").arg(error);
    if (text) ::LocalFree(text);
    return reason;
}

const wchar_t* Native(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (ok()) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

bool MakeFolder(const QString& path, QString& reason) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder)) return true;
    reason = QStringLiteral("%1: the folder cannot be made").arg(QDir::toNativeSeparators(folder));
    return false;
}

// Read as well: the last byte tells whether the last line was torn.
HANDLE OpenForAppend(const QString& path, bool create, QString& reason) {
    if (QFileInfo(path).isDir()) {
        reason = QStringLiteral("a folder, not a file");
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file = ::CreateFileW(
        Native(QDir::toNativeSeparators(path)), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemReason(::GetLastError());
        return file;
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        reason = QStringLiteral("not a regular file");
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool EndsWithNewline(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart == 0) return true;
    OVERLAPPED at{};
    const ULONGLONG last = ULONGLONG(size.QuadPart - 1);
    at.Offset = DWORD(last & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(last >> 32);
    char byte = '\n';
    DWORD got = 0;
    return !::ReadFile(file, &byte, 1, &got, &at) || got != 1 || byte == '\n';
}

QString RoomProblem(const QString& folder) {
    ULARGE_INTEGER available{};
    if (::GetDiskFreeSpaceExW(Native(QDir::toNativeSeparators(folder)), &available, nullptr,
                              nullptr) &&
        qint64(available.QuadPart) < kRecordRoom)
        return SystemReason(ERROR_DISK_FULL);
    return {};
}

// Whether a new file may be made in `folder`: a file that is deleted as it is closed.
QString FolderRefusal(const QString& folder) {
    const QString probe =
        QDir(folder).filePath(QStringLiteral(".journal-probe-%1").arg(::GetCurrentProcessId()));
    HANDLE file =
        ::CreateFileW(Native(QDir::toNativeSeparators(probe)), GENERIC_WRITE, 0, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemReason(::GetLastError());
    ::CloseHandle(file);
    return {};
}

void ReadLines(QFile& file, JournalContents& contents) {
    qint64 number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++number;
        const bool torn = !line.endsWith('\n');
        const QByteArray text = line.trimmed();
        if (text.isEmpty()) continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            contents.skipped.push_back(
                {number, torn ? QStringLiteral("incomplete record (the line has no end)")
                              : QStringLiteral("not a journal record")});
            continue;
        }
        ParsedRecord parsed = FromJson(document.object());
        if (!parsed.record) {
            contents.skipped.push_back(
                {number, QStringLiteral("incomplete record: ") + parsed.problem});
            continue;
        }
        contents.records.push_back(std::move(*parsed.record));
    }
}

}  // namespace

AppendResult ProbeJournal(const QString& path) {
    QString reason;
    if (!MakeFolder(path, reason)) return {false, reason};
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(path)) {
        reason = FolderRefusal(folder);
        if (reason.isEmpty()) reason = RoomProblem(folder);
        return {reason.isEmpty(), reason};
    }
    const Handle file(OpenForAppend(path, false, reason));
    if (!file.ok()) return {false, reason};
    reason = RoomProblem(folder);
    return {reason.isEmpty(), reason};
}

AppendResult AppendRecord(const QString& path, const JournalRecord& record) {
    QString reason;
    if (!MakeFolder(path, reason)) return {false, reason};
    const Handle file(OpenForAppend(path, true, reason));
    if (!file.ok()) return {false, reason};
    QByteArray line = ToLine(record);
    if (!EndsWithNewline(file.get())) line.prepend('\n');
    DWORD written = 0;
    if (!::WriteFile(file.get(), line.constData(), DWORD(line.size()), &written, nullptr))
        return {false, SystemReason(::GetLastError())};
    // A short write leaves a torn line, which reading skips and the next append ends.
    if (qint64(written) != line.size()) return {false, SystemReason(ERROR_DISK_FULL)};
    if (!::FlushFileBuffers(file.get())) return {false, SystemReason(::GetLastError())};
    return {true, {}};
}

JournalContents ReadJournal(const QString& path) {
    JournalContents contents;
    const QFileInfo info(path);
    if (!info.exists()) return contents;
    if (info.isDir()) {
        contents.error = QStringLiteral("a folder, not a file");
        return contents;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = file.errorString();
        return contents;
    }
    ReadLines(file, contents);
    contents.records = PairOutcomes(std::move(contents.records));
    return contents;
}

}  // namespace zmt::journal
