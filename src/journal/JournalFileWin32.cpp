#include "journal/JournalFile.h"

#include "journal/JournalLines.h"
#include "journal/JournalPairing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

namespace zmt::journal {

// The journal's file calls on Windows: appends with FILE_APPEND_DATA, so that every write
// goes to the end of the file whoever else appends, each flushed with FlushFileBuffers.

namespace {

QString SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = length ? QString::fromWCharArray(text, int(length)).trimmed()
                            : QStringLiteral("system error %1").arg(error);
    if (text) ::LocalFree(text);
    return reason;
}

JournalReason SystemReason(DWORD error) {
    return {JournalReason::System, SystemText(error)};
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

bool MakeFolder(const QString& path, JournalReason& reason) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder)) return true;
    reason = {JournalReason::FolderNotMade, QDir::toNativeSeparators(folder)};
    return false;
}

// Read as well: the last byte tells whether the last line was torn.
HANDLE OpenForAppend(const QString& path, bool create, JournalReason& reason) {
    if (QFileInfo(path).isDir()) {
        reason = {JournalReason::IsAFolder};
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
        reason = {JournalReason::NotARegularFile};
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

// Whether a new file may be made in `folder`: a file that is deleted as it is closed.
JournalReason FolderRefusal(const QString& folder) {
    const QString probe =
        QDir(folder).filePath(QStringLiteral(".journal-probe-%1").arg(::GetCurrentProcessId()));
    HANDLE file =
        ::CreateFileW(Native(QDir::toNativeSeparators(probe)), GENERIC_WRITE, 0, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemReason(::GetLastError());
    ::CloseHandle(file);
    return {};
}

}  // namespace

AppendResult ProbeJournal(const QString& path) {
    JournalReason reason;
    if (!MakeFolder(path, reason)) return {false, reason};
    if (!QFileInfo::exists(path)) {
        reason = FolderRefusal(QFileInfo(path).absolutePath());
        return {reason.isEmpty(), reason};
    }
    // Whether there is room only the append itself can tell: it says so when there is none.
    const Handle file(OpenForAppend(path, false, reason));
    return {file.ok(), reason};
}

AppendResult AppendRecord(const QString& path, const JournalRecord& record) {
    JournalReason reason;
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
        contents.error = {JournalReason::IsAFolder};
        return contents;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = {JournalReason::System, file.errorString()};
        return contents;
    }
    ReadRecordLines(file, contents);
    contents.records = PairOutcomes(std::move(contents.records));
    return contents;
}

}  // namespace zmt::journal
