#include "link/ComLinkBinding.h"

#include "link/ComPortNames.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zmt::link {

namespace {

struct PendingLink {
    QByteArray temporary;
    QByteArray comFile;
    int number = 0;
};

QByteArray ComFileIn(const QDir& folder, int number) {
    return QFile::encodeName(folder.absoluteFilePath(QString::fromStdString(ComLinkName(number))));
}

std::vector<BindProblem> Refusals(const QDir& folder, const std::vector<BindRequest>& requests) {
    std::vector<BindProblem> refused;
    for (const BindRequest& request : requests) {
        const QByteArray comFile = ComFileIn(folder, request.number);
        struct stat info {};
        if (::lstat(comFile.constData(), &info) == 0 && !S_ISLNK(info.st_mode))
            refused.push_back(
                {request.number, BindFailure::NotALink, 0, QFile::decodeName(comFile)});
        else if (!request.devicePath.isEmpty() && !QFile::exists(request.devicePath))
            refused.push_back({request.number, BindFailure::DeviceMissing, 0, request.devicePath});
    }
    return refused;
}

void RemoveAll(const std::vector<PendingLink>& links) {
    for (const PendingLink& link : links) ::unlink(link.temporary.constData());
}

// Every new link under its temporary name; on a failure none is left behind.
bool MakeNewLinks(const QDir& folder, const std::vector<BindRequest>& requests,
                  std::vector<PendingLink>& made, std::vector<BindProblem>& problems) {
    for (const BindRequest& request : requests) {
        if (request.devicePath.isEmpty()) continue;
        const QByteArray comFile = ComFileIn(folder, request.number);
        const QByteArray temporary = comFile + ".new-" + QByteArray::number(::getpid());
        ::unlink(temporary.constData());  // left over from a run that was killed
        if (::symlink(QFile::encodeName(request.devicePath).constData(), temporary.constData()) !=
            0) {
            problems.push_back(
                {request.number, BindFailure::System, errno, QFile::decodeName(comFile)});
            RemoveAll(made);
            return false;
        }
        made.push_back({temporary, comFile, request.number});
    }
    return true;
}

void Fail(std::vector<BindProblem>& problems, int number, const QByteArray& comFile) {
    problems.push_back({number, BindFailure::System, errno, QFile::decodeName(comFile)});
}

}  // namespace

std::vector<BindProblem> BindComPorts(const QString& folderPath,
                                      const std::vector<BindRequest>& requests) {
    const QDir folder(folderPath);
    std::vector<BindProblem> problems = Refusals(folder, requests);
    std::vector<PendingLink> made;
    if (!problems.empty() || !MakeNewLinks(folder, requests, made, problems)) return problems;
    for (const PendingLink& link : made) {
        if (::rename(link.temporary.constData(), link.comFile.constData()) != 0) {
            Fail(problems, link.number, link.comFile);
            ::unlink(link.temporary.constData());
        }
    }
    for (const BindRequest& request : requests) {
        const QByteArray comFile = ComFileIn(folder, request.number);
        if (request.devicePath.isEmpty() && ::unlink(comFile.constData()) != 0 && errno != ENOENT)
            Fail(problems, request.number, comFile);
    }
    return problems;
}

}  // namespace zmt::link
