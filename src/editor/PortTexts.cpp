#include "editor/PortTexts.h"

#include "language/OriginalRows.h"
#include "language/Texts.h"

#include <QStringList>

#include <cstring>

namespace zmt {

namespace {

QString Hex4(std::uint16_t value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

// Up to three holders are named; the rest are counted.
constexpr std::size_t kHoldersNamed = 3;

QStringList HolderLines(const link::PortFailureCause& cause, const Texts& row) {
    const auto& holders = cause.holders;
    QStringList lines;
    if (holders.size() == 1) {
        lines << row(rows::PortHeldBy)
                     .arg(cause.device, holders.front().name, QString::number(holders.front().pid));
    } else {
        QStringList named;
        for (std::size_t i = 0; i < holders.size() && i < kHoldersNamed; ++i)
            named << row(rows::PortHolderListed)
                         .arg(holders[i].name, QString::number(holders[i].pid));
        QString list = named.join(QStringLiteral(", "));
        if (holders.size() > kHoldersNamed)
            list = row(rows::PortMoreHolders).arg(list).arg(holders.size() - kHoldersNamed);
        lines << row(rows::PortHeldBySeveral).arg(cause.device, list);
    }
    if (cause.heldByModemManager()) lines << row(rows::PortModemManagerAdvice);
    return lines;
}

// The device's owner, group and mode; joining the group is advised only where the group
// may open it.
QStringList PermissionLines(const link::PortFailureCause& cause, const Texts& row) {
    const link::DeviceAccess& access = cause.access;
    if (!access.known()) return {row(rows::PortPermissionDenied)};
    QStringList lines{row(rows::PortNoPermissionOn)
                          .arg(cause.device, access.owner, access.group, access.modeText())};
    if (access.groupMayOpen()) lines << row(rows::PortJoinGroup).arg(access.group);
    return lines;
}

}  // namespace

QString DescribeComTarget(const link::ComTarget& target, const LanguageText& texts,
                          int languageIndex) {
    const Texts row(texts, languageIndex);
    if (target.kind == link::ComTargetKind::OwnFile)
        return row(rows::PortTargetOwnFile).arg(target.path);
    if (!target.exists) return row(rows::PortTargetMissing).arg(target.path);
    if (!target.hardware) return row(rows::PortTargetNoHardware).arg(target.shownPath());
    if (target.description.isEmpty()) return target.shownPath();
    return target.shownPath() + QStringLiteral(": ") + target.description;
}

QString DescribeDevice(const link::PortEntry& entry, const LanguageText& texts, int languageIndex) {
    QString text = entry.devicePath;
    if (!entry.description.isEmpty()) text += QStringLiteral(": ") + entry.description;
    if (!entry.serialNumber.isEmpty()) text += QStringLiteral(" (") + entry.serialNumber + ')';
    if (entry.busy) text += QStringLiteral(" - ") + texts.text(rows::PortBusyMark, languageIndex);
    return text;
}

QString DeviceDetails(const link::PortEntry& entry) {
    QStringList lines{entry.bindPath()};
    if (entry.bindPath() != entry.devicePath) lines << entry.devicePath;
    for (const QString& fact : {entry.description, entry.manufacturer, entry.serialNumber})
        if (!fact.isEmpty()) lines << fact;
    if (entry.vendorId && entry.productId)
        lines << QStringLiteral("USB %1:%2").arg(Hex4(*entry.vendorId), Hex4(*entry.productId));
    return lines.join('\n');
}

QString DescribeBindProblem(const link::BindProblem& problem, const LanguageText& texts,
                            int languageIndex) {
    const Texts row(texts, languageIndex);
    switch (problem.failure) {
        case link::BindFailure::NotALink:
            return row(rows::PortBindNotALink).arg(problem.path);
        case link::BindFailure::DeviceMissing:
            return row(rows::PortBindDeviceGone).arg(problem.path);
        case link::BindFailure::System:
            break;
    }
    return row(rows::PortBindFailed)
        .arg(problem.number)
        .arg(problem.path, QString::fromLocal8Bit(std::strerror(problem.errorNumber)));
}

QString DescribeProbeOutcome(link::ProbeOutcome outcome, const LanguageText& texts,
                             int languageIndex) {
    static constexpr std::pair<link::ProbeOutcome, int> kRows[] = {
        {link::ProbeOutcome::Found, rows::ProbeFound},
        {link::ProbeOutcome::NoInterface, rows::ProbeNoInterface},
        {link::ProbeOutcome::Busy, rows::ProbeBusy},
        {link::ProbeOutcome::Vanished, rows::ProbeVanished},
        {link::ProbeOutcome::NoPermission, rows::ProbeNoPermission},
        {link::ProbeOutcome::NotSerial, rows::ProbeNotSerial}};
    for (const auto& [candidate, row] : kRows)
        if (candidate == outcome) return texts.text(row, languageIndex);
    return {};
}

QStringList PortCauseLines(const link::PortFailureCause& cause, const LanguageText& texts,
                           int languageIndex) {
    const Texts row(texts, languageIndex);
    using link::PortFailureKind;
    switch (cause.kind) {
        case PortFailureKind::Unknown:
            return {};
        case PortFailureKind::PermissionDenied:
            return PermissionLines(cause, row);
        case PortFailureKind::NotPresent:
            return {row(rows::PortNotPresent).arg(cause.device)};
        case PortFailureKind::NotSerial:
            return {row(rows::PortNotSerial).arg(cause.device)};
        case PortFailureKind::AdapterClaimed:
            return {row(rows::PortAdapterClaimedByBrltty).arg(cause.adapter)};
        case PortFailureKind::NoHardwareBehind:
            return {row(rows::PortNoHardwareBehind)
                        .arg(cause.device, cause.adapter, row(rows::PortAssignMenuItem))};
        case PortFailureKind::HeldByProgram:
            return HolderLines(cause, row);
    }
    return {};
}

QStringList PortFailureLines(const QString& name, const link::PortFailureCause& cause,
                             const LanguageText& texts, int languageIndex) {
    const QStringList causes = PortCauseLines(cause, texts, languageIndex);
    QStringList lines{name + texts.text(rows::CannotOpenPort, languageIndex)};
    const bool deviceNamed = name.startsWith(QLatin1Char('/'));
    if (!deviceNamed || causes.isEmpty())
        lines << name + texts.text(rows::PerhapsInUse, languageIndex);
    return lines + causes;
}

}  // namespace zmt
