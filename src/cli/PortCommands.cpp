#include "cli/PortCommands.h"

#include "cli/CommandContext.h"
#include "editor/ComNames.h"
#include "editor/PortTexts.h"
#include "language/AddedRows.h"
#include "link/ComTarget.h"
#include "link/PortFailureCause.h"
#include "link/SystemPortCatalog.h"
#include "session/PortChoice.h"

#include <QDir>
#include <QJsonArray>

#include <memory>
#include <optional>

namespace zmt::cli {

namespace {

QJsonObject DeviceJson(const link::PortEntry& device) {
    QJsonObject json{{"path", device.devicePath},           {"stablePath", device.stablePath},
                     {"description", device.description},   {"manufacturer", device.manufacturer},
                     {"serialNumber", device.serialNumber}, {"busy", device.busy}};
    if (device.vendorId) json["vendorId"] = int(*device.vendorId);
    if (device.productId) json["productId"] = int(*device.productId);
    return json;
}

QJsonObject ComJson(int number, const link::ComTarget& target) {
    return {{"port", ComName(number)},     {"path", target.path},
            {"device", target.device},     {"exists", target.exists},
            {"hardware", target.hardware}, {"description", target.description}};
}

class PortCommand : public CommandContext {
  public:
    using CommandContext::CommandContext;

    CommandResult Ports() {
        const std::vector<link::PortEntry> devices = catalog().list();
        QJsonArray deviceList, comList;
        QStringList lines{devices.empty() ? text_(rows::PortNoDevices)
                                          : text_(rows::PortDevicesListed).arg(devices.size())};
        for (const link::PortEntry& device : devices) {
            lines << Listed(device);
            deviceList.append(DeviceJson(device));
        }
        for (int number = 1; number <= ComPortCount; ++number) {
            const link::ComTarget target =
                link::ResolveComTarget(number, QDir::currentPath(), devices);
            lines << ComName(number) + QStringLiteral(" -> ") +
                         DescribeComTarget(target, texts_, language_);
            comList.append(ComJson(number, target));
        }
        return {.lines = lines,
                .command = "ports",
                .fields = {{"devices", deviceList}, {"com", comList}}};
    }

    CommandResult Find() {
        std::vector<link::PortEntry> skipped;
        const std::vector<link::PortEntry> devices = DevicesToSearch(skipped);
        if (devices.empty()) return Refusal(NoInterface, {text_(rows::PortFindNothingFree)});
        if (options_.findPorts.isEmpty() && !options_.yes && !Confirmed(devices, skipped))
            return Refusal(NoInterface, {text_(rows::PortFindCancelled)});
        link::InterfaceProbe probe(env_.probePorts ? env_.probePorts : link::TerminalProbePorts(),
                                   env_.clock);
        if (env_.probeInUse) env_.probeInUse(&probe);
        if (!options_.quiet)
            QObject::connect(&probe, &link::InterfaceProbe::probing, [&](int index, int count) {
                console_.Status(text_(rows::PortFindProgress)
                                    .arg(devices[index].devicePath)
                                    .arg(index + 1)
                                    .arg(count));
            });
        probe.start(devices);
        env_.runUntil([&] { return !probe.running() || console_.Interrupts() > 0; });
        const bool stopped = probe.running();
        probe.cancel();
        if (env_.probeInUse) env_.probeInUse(nullptr);
        console_.Status(QString());
        if (stopped) return Refusal(Interrupted, {text_(rows::StoppedByInterrupt)});
        return SearchResult(probe, skipped);
    }

  private:
    link::PortCatalog& catalog() {
        if (!env_.catalog) env_.catalog = std::make_shared<link::SystemPortCatalog>();
        return *env_.catalog;
    }

    QString Listed(const link::PortEntry& device) const {
        return QStringLiteral("  ") + DescribeDevice(device, texts_, language_);
    }

    // The devices to search: those named (COMn as the program opens it), else every
    // listed one that no other program holds.
    std::vector<link::PortEntry> DevicesToSearch(std::vector<link::PortEntry>& skipped) {
        const std::vector<link::PortEntry> listed = catalog().list();
        std::vector<link::PortEntry> devices;
        for (const QString& port : options_.findPorts) {
            const auto number = ComNumberOf(port);
            link::PortEntry entry;
            entry.devicePath =
                number ? link::ResolveComTarget(*number, QDir::currentPath(), listed).shownPath()
                       : port;
            if (const link::PortEntry* known = link::FindPortEntry(listed, entry.devicePath))
                entry = *known;
            devices.push_back(entry);
        }
        if (!options_.findPorts.isEmpty()) return devices;
        for (const link::PortEntry& entry : listed)
            (entry.busy ? skipped : devices).push_back(entry);
        return devices;
    }

    bool Confirmed(const std::vector<link::PortEntry>& devices,
                   const std::vector<link::PortEntry>& skipped) {
        Prompt(text_(rows::PortFindQuestion));
        for (const link::PortEntry& device : devices) Prompt(Listed(device));
        if (!skipped.empty()) Prompt(text_(rows::PortFindSkipped));
        for (const link::PortEntry& device : skipped) Prompt(Listed(device));
        Prompt(text_(rows::PortFindWarning));
        Prompt(text_(rows::ConfirmYesNo));
        return AnsweredYes();
    }

    // Each device's outcome and, where it did not open, why; in JSON in English, with the
    // busy ones left untouched.
    CommandResult SearchResult(const link::InterfaceProbe& probe,
                               const std::vector<link::PortEntry>& skipped) const {
        const bool found = !probe.found().empty();
        CommandResult result{.exitCode = found ? Success : NoInterface, .command = "find"};
        QJsonArray outcomes;
        std::vector<link::ProbeResult> results = probe.results();
        for (const link::PortEntry& device : skipped)
            results.push_back({device, link::ProbeOutcome::Busy, link::OpenFailure::Busy});
        for (const link::ProbeResult& probed : results) {
            const link::PortFailureCause cause = CauseOf(probed);
            result.lines << probed.entry.devicePath + QStringLiteral(": ") +
                                OutcomeText(probed, cause, language_);
            result.lines << PortCauseLines(cause, texts_, language_);
            outcomes.append(Outcome(probed, cause));
        }
        if (!found) result.lines << text_(rows::PortFindNone);
        result.fields = {{"results", outcomes}};
        return result;
    }

    // Why a device did not open, as an operation on it would say.
    link::PortFailureCause CauseOf(const link::ProbeResult& probed) const {
        if (probed.failure == link::OpenFailure::None) return {};
        return link::DiagnosePortFailure(probed.failure, probed.entry.devicePath, env_.system);
    }

    // A refusal whose cause names the device's group says no other group.
    QString OutcomeText(const link::ProbeResult& probed, const link::PortFailureCause& cause,
                        int languageIndex) const {
        if (probed.outcome == link::ProbeOutcome::NoPermission && cause.access.known())
            return texts_.text(rows::ProbeDenied, languageIndex);
        return DescribeProbeOutcome(probed.outcome, texts_, languageIndex);
    }

    QJsonObject Outcome(const link::ProbeResult& probed,
                        const link::PortFailureCause& cause) const {
        QJsonObject json{{"path", probed.entry.devicePath},
                         {"outcome", OutcomeText(probed, cause, 1)},
                         {"found", probed.outcome == link::ProbeOutcome::Found}};
        const QStringList lines = PortCauseLines(cause, texts_, 1);
        if (!lines.isEmpty()) json["cause"] = QJsonArray::fromStringList(Trimmed(lines));
        return json;
    }

    static QStringList Trimmed(QStringList lines) {
        for (QString& line : lines) line = line.trimmed();
        return lines;
    }
};

}  // namespace

CommandResult ListPorts(const CliOptions& options, CliEnvironment& environment) {
    return PortCommand(options, environment).Ports();
}

CommandResult FindInterface(const CliOptions& options, CliEnvironment& environment) {
    return PortCommand(options, environment).Find();
}

}  // namespace zmt::cli
