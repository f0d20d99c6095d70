#include "link/ComLinkBinding.h"

#include "link/ComBindingFile.h"
#include "link/ComPortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

namespace zmt::link {

// On Windows a binding is the file comN naming the Windows port ("COM7"). As with links
// elsewhere, every new file is written under a temporary name first and then moved over
// comN, so that comN is at every moment the old binding or the new one.

namespace {

struct PendingFile {
    QString temporary;
    QString comFile;
    int number = 0;
};

QString ComFileIn(const QDir& folder, int number) {
    return folder.absoluteFilePath(QString::fromStdString(ComLinkName(number)));
}

std::vector<BindProblem> Refusals(const QDir& folder, const std::vector<BindRequest>& requests) {
    std::vector<BindProblem> refused;
    for (const BindRequest& request : requests) {
        const QString comFile = ComFileIn(folder, request.number);
        if (QFileInfo::exists(comFile) && !BoundPortName(comFile.toStdString()))
            refused.push_back({request.number, BindFailure::NotALink, 0, comFile});
        else if (!request.devicePath.isEmpty() &&
                 !IsWindowsPortName(request.devicePath.toStdString()))
            refused.push_back({request.number, BindFailure::DeviceMissing, 0, request.devicePath});
    }
    return refused;
}

void RemoveAll(const std::vector<PendingFile>& files) {
    for (const PendingFile& file : files) QFile::remove(file.temporary);
}

int LastError() {
    return static_cast<int>(::GetLastError());
}

bool WriteBinding(const QString& path, const QString& port) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray line = port.toLatin1() + "\r\n";
    return file.write(line) == line.size() && file.flush();
}

bool MakeNewFiles(const QDir& folder, const std::vector<BindRequest>& requests,
                  std::vector<PendingFile>& made, std::vector<BindProblem>& problems) {
    for (const BindRequest& request : requests) {
        if (request.devicePath.isEmpty()) continue;
        const QString comFile = ComFileIn(folder, request.number);
        const QString temporary = comFile + QStringLiteral(".new-%1").arg(::GetCurrentProcessId());
        QFile::remove(temporary);  // left over from a run that was killed
        if (!WriteBinding(temporary, request.devicePath)) {
            problems.push_back({request.number, BindFailure::System, LastError(), comFile});
            QFile::remove(temporary);
            RemoveAll(made);
            return false;
        }
        made.push_back({temporary, comFile, request.number});
    }
    return true;
}

bool MoveOver(const QString& from, const QString& to) {
    return ::MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                         reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

std::vector<BindProblem> BindComPorts(const QString& folderPath,
                                      const std::vector<BindRequest>& requests) {
    const QDir folder(folderPath);
    std::vector<BindProblem> problems = Refusals(folder, requests);
    std::vector<PendingFile> made;
    if (!problems.empty() || !MakeNewFiles(folder, requests, made, problems)) return problems;
    for (const PendingFile& file : made) {
        if (!MoveOver(file.temporary, file.comFile)) {
            problems.push_back({file.number, BindFailure::System, LastError(), file.comFile});
            QFile::remove(file.temporary);
        }
    }
    for (const BindRequest& request : requests) {
        const QString comFile = ComFileIn(folder, request.number);
        if (request.devicePath.isEmpty() && QFileInfo::exists(comFile) && !QFile::remove(comFile))
            problems.push_back({request.number, BindFailure::System, LastError(), comFile});
    }
    return problems;
}

}  // namespace zmt::link
