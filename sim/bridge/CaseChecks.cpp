#include "sim/bridge/CaseChecks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace zmt::sim::bridge {

namespace {

constexpr double CommandEndsWithinMs = 5000;

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.1f ms" : "%.0f ms", ms);
    return text;
}

std::string Words(const ImageWords& image) {
    std::ostringstream text;
    for (const auto w : image) text << ' ' << w;
    return text.str();
}

QJsonObject JsonOf(const std::string& output) {
    const auto from = output.find('{');
    const auto to = output.rfind('}');
    if (from == std::string::npos || to == std::string::npos || to < from) return {};
    const auto text = QByteArray::fromStdString(output.substr(from, to - from + 1));
    return QJsonDocument::fromJson(text).object();
}

std::optional<ImageWords> ImageOf(const QJsonValue& value) {
    const QJsonArray words = value.toArray();
    if (words.size() != ImageWordCount) return std::nullopt;
    ImageWords image{};
    for (int i = 0; i < ImageWordCount; ++i)
        image[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(words[i].toInt(-1));
    return image;
}

void Add(std::vector<std::string>& to, const std::vector<std::string>& from,
         const std::string& prefix = {}) {
    for (const auto& line : from) to.push_back(prefix + line);
}

void CompareImage(const std::string& what, const std::optional<ImageWords>& seen,
                  const std::optional<ImageWords>& stored, std::vector<std::string>& findings) {
    if (!seen) return findings.push_back(what + ": no image in the output");
    if (!stored) return findings.push_back(what + ": the meter holds no image");
    if (*seen != *stored)
        findings.push_back(what + ":" + Words(*seen) + " but the meter holds" + Words(*stored));
}

void CheckImages(const CaseSpec& spec, const CaseLog& log, const DeviceLog& device,
                 std::vector<std::string>& findings) {
    const QJsonObject json = JsonOf(log.output);
    if (spec.kind == CaseKind::Read) {
        CompareImage("image read", ImageOf(json["image"]), device.stored, findings);
        return;
    }
    if (!json["equal"].toBool()) findings.push_back("write --verify does not report equal");
    const QJsonObject images = json["image"].toObject();
    CompareImage("image read back", ImageOf(images["meter"]), device.stored, findings);
    std::optional<ImageWords> written;
    for (const auto& exchange : Exchanges(device.bytes))
        if (auto image = WrittenImage(exchange)) written = image;
    CompareImage("image in the write frame", written, device.stored, findings);
}

std::vector<std::string> CheckFrames(const CaseSpec& spec, const CaseLog& log,
                                     const DeviceLog& device) {
    std::vector<std::string> findings;
    const auto exchanges = Exchanges(device.bytes);
    const bool expectsFrames = spec.kind == CaseKind::Read || spec.kind == CaseKind::WriteVerify ||
                               spec.kind == CaseKind::Operation || spec.kind == CaseKind::Unplug;
    if (expectsFrames && exchanges.empty()) findings.push_back("no frame reached the interface");
    if (!expectsFrames) return findings;
    const auto power = PowerIntervals(device.lines, log.endMs);
    for (std::size_t i = 0; i < exchanges.size(); ++i) {
        const bool last = i + 1 == exchanges.size();
        const bool cut = spec.kind == CaseKind::Unplug && last;
        const double nextStart = last ? log.endMs : exchanges[i + 1].firstSent;
        Add(findings, CheckExchange(exchanges[i], static_cast<int>(i + 1), power, device.lines,
                                    {log.beginMs, nextStart, cut, last}));
    }
    return findings;
}

void CheckEnding(const CaseSpec& spec, const CaseLog& log, const DeviceLog& device,
                 std::vector<std::string>& findings) {
    if (spec.kind == CaseKind::Unplug) {
        if (!device.unplugAt)
            findings.push_back("the adapter was never pulled");
        else if (log.endMs - *device.unplugAt > CommandEndsWithinMs)
            findings.push_back("the command ended " + Ms(log.endMs - *device.unplugAt) +
                               " after the unplug, not within " + Ms(CommandEndsWithinMs));
    }
    if (spec.kind == CaseKind::Vanished) {
        if (log.endMs - log.beginMs > CommandEndsWithinMs)
            findings.push_back("the command took " + Ms(log.endMs - log.beginMs));
        if (log.output.find(spec.devicePath) == std::string::npos)
            findings.push_back("the message does not name " + spec.devicePath);
        if (log.output.find("COM1") != std::string::npos)
            findings.push_back("the message names COM1, which the user never gave");
    }
    if (spec.kind == CaseKind::Listing && log.output.find(spec.devicePath) == std::string::npos)
        findings.push_back("the list does not show " + spec.devicePath);
    const bool found = log.output.find(spec.devicePath + ": interface found") != std::string::npos;
    if (spec.kind == CaseKind::Search && !found)
        findings.push_back("the search does not find the interface on " + spec.devicePath);
}

std::string FiguresLine(const std::string& name, const DeviceFigures& figures) {
    std::ostringstream text;
    text << name << ": opens " << figures.opens;
    if (name == "ftdi") text << " (driver resets " << figures.resets << ")";
    if (figures.medianOpenPulse) text << ", open pulse median " << Ms(*figures.medianOpenPulse);
    if (!figures.startAfterPowerUp.empty()) {
        text << ", exchange start after power-up";
        for (const double ms : figures.startAfterPowerUp) text << ' ' << Ms(ms);
    }
    if (figures.medianPacing) text << ", byte pacing median " << Ms(*figures.medianPacing);
    return text.str();
}

std::string ExitText(int code) {
    return code < 0 ? "a failure" : std::to_string(code);
}

}  // namespace

const std::vector<CaseSpec>& GuestCases() {
    static const std::vector<CaseSpec> cases = {
        {"ftdi-read-json", "ftdi", "/dev/ttyUSB0", CaseKind::Read, 0},
        {"ftdi-write-verify", "ftdi", "/dev/ttyUSB0", CaseKind::WriteVerify, 0},
        {"ftdi-calibrate", "ftdi", "/dev/ttyUSB0", CaseKind::Operation, 0},
        {"ftdi-find", "ftdi", "/dev/ttyUSB0", CaseKind::Search, 0},
        {"ftdi-ports", "ftdi", "/dev/ttyUSB0", CaseKind::Listing, 0},
        {"uart-read", "uart", "/dev/ttyS1", CaseKind::Read, 0},
        {"uart-write-verify", "uart", "/dev/ttyS1", CaseKind::WriteVerify, 0},
        {"ftdi-unplug-mid-read", "ftdi", "/dev/ttyUSB0", CaseKind::Unplug, -1},
        {"ftdi-read-vanished", "ftdi", "/dev/ttyUSB0", CaseKind::Vanished, 3},
    };
    return cases;
}

CaseResult CheckCase(const CaseSpec& spec, const CaseLog& log) {
    CaseResult result;
    if (!log.exitCode) result.findings.push_back("the case never ended");
    const bool exitOk =
        log.exitCode && (spec.exitCode < 0 ? *log.exitCode != 0 : *log.exitCode == spec.exitCode);
    if (log.exitCode && !exitOk)
        result.findings.push_back("exit status " + std::to_string(*log.exitCode) + ", not " +
                                  ExitText(spec.exitCode));
    const auto found = log.devices.find(spec.device);
    if (found == log.devices.end()) return result;
    const DeviceLog& device = found->second;
    Add(result.findings, CheckFrames(spec, log, device));
    if (spec.kind == CaseKind::Read || spec.kind == CaseKind::WriteVerify)
        CheckImages(spec, log, device, result.findings);
    CheckEnding(spec, log, device, result.findings);
    for (const auto& [name, other] : log.devices) {
        Add(result.findings, CheckLineHygiene(other, log.beginMs, log.endMs), name + ": ");
        if (spec.kind == CaseKind::Search)
            Add(result.findings, CheckNeverPowered(other, log.beginMs, log.endMs), name + ": ");
        const DeviceFigures figures = FiguresOf(other, log.endMs);
        if (figures.opens > 0 || !other.bytes.empty())
            result.figures.push_back(FiguresLine(name, figures));
    }
    return result;
}

bool ReportCases(const std::vector<CaseLog>& logs, std::ostream& out) {
    int failed = 0;
    for (const CaseSpec& spec : GuestCases()) {
        const auto log = std::find_if(logs.begin(), logs.end(),
                                      [&](const CaseLog& l) { return l.name == spec.name; });
        if (log == logs.end()) {
            out << "FAIL " << spec.name << ": the guest never ran it\n";
            ++failed;
            continue;
        }
        const CaseResult result = CheckCase(spec, *log);
        out << (result.findings.empty() ? "ok   " : "FAIL ") << spec.name << " (exit "
            << (log->exitCode ? std::to_string(*log->exitCode) : "-") << ", "
            << Ms(log->endMs - log->beginMs) << ")\n";
        for (const auto& line : result.figures) out << "       " << line << '\n';
        for (const auto& line : result.findings) out << "     - " << line << '\n';
        if (!result.findings.empty()) ++failed;
    }
    out << (failed ? "hwcheck: " + std::to_string(failed) + " case(s) failed\n"
                   : std::string("hwcheck: all cases passed\n"));
    return failed == 0;
}

}  // namespace zmt::sim::bridge
