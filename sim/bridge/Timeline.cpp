#include "sim/bridge/Timeline.h"

#include <cstdio>
#include <istream>
#include <sstream>

namespace zmt::sim::bridge {

namespace {

bool IsCaseMarker(const std::string& kind) {
    return kind == "begin" || kind == "end";
}

bool IsByte(const std::string& kind) {
    return kind == "sent" || kind == "answered";
}

// The state of each device's lines and meter just before `ms`, to start a case with.
struct DeviceState {
    LineChange lines{0, false, false};
    std::optional<ImageWords> stored;
};

ImageWords WordsOf(const std::vector<long>& values) {
    ImageWords words{};
    for (std::size_t i = 0; i < words.size() && i < values.size(); ++i)
        words[i] = static_cast<std::uint16_t>(values[i]);
    return words;
}

void Apply(const Record& record, DeviceState& state) {
    if (record.kind == "lines" && record.values.size() == 2)
        state.lines = {record.ms, record.values[0] != 0, record.values[1] != 0};
    if (record.kind == "stored") state.stored = WordsOf(record.values);
}

void AddToLog(const Record& record, DeviceLog& log) {
    if (record.kind == "lines" && record.values.size() == 2)
        log.lines.push_back({record.ms, record.values[0] != 0, record.values[1] != 0});
    else if (IsByte(record.kind) && record.values.size() == 1)
        log.bytes.push_back(
            {record.ms, record.kind == "sent", static_cast<std::uint8_t>(record.values[0])});
    else if (record.kind == "reset")
        log.resets.push_back(record.ms);
    else if (record.kind == "stored")
        log.stored = WordsOf(record.values);
    else if (record.kind == "unplug")
        log.unplugAt = record.ms;
}

// The text between the guest's begin and end lines of `name`.
std::string OutputOf(std::string_view console, const std::string& name) {
    const std::string begin = "@@hw begin " + name + "\n";
    const auto from = console.find(begin);
    if (from == std::string_view::npos) return {};
    const auto start = from + begin.size();
    const auto to = console.find("@@hw end " + name + " ", start);
    return std::string(console.substr(start, to == std::string_view::npos ? to : to - start));
}

}  // namespace

std::string FormatRecord(const Record& record) {
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.3f", record.ms);
    std::ostringstream text;
    text << ms << ' ' << record.source << ' ' << record.kind;
    if (!record.name.empty()) text << ' ' << record.name;
    for (const long v : record.values) {
        if (IsByte(record.kind)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, " %02lx", v);
            text << hex;
        } else {
            text << ' ' << v;
        }
    }
    return text.str();
}

std::optional<Record> ParseRecord(std::string_view line) {
    std::istringstream in{std::string(line)};
    Record record;
    if (!(in >> record.ms >> record.source >> record.kind)) return std::nullopt;
    if (IsCaseMarker(record.kind) && !(in >> record.name)) return std::nullopt;
    if (IsByte(record.kind)) in >> std::hex;
    for (long v; in >> v;) record.values.push_back(v);
    if (!in.eof()) return std::nullopt;
    if (IsByte(record.kind) && record.values.size() != 1) return std::nullopt;
    return record;
}

std::vector<Record> ReadRecords(std::istream& in) {
    std::vector<Record> records;
    for (std::string line; std::getline(in, line);)
        if (auto record = ParseRecord(line)) records.push_back(*record);
    return records;
}

std::vector<CaseLog> SplitIntoCases(const std::vector<Record>& records, std::string_view console,
                                    const std::vector<std::string>& devices) {
    std::vector<CaseLog> cases;
    std::map<std::string, DeviceState> state;
    CaseLog* open = nullptr;
    for (const Record& record : records) {
        if (record.kind == "begin") {
            open = &cases.emplace_back();
            open->name = record.name;
            open->beginMs = open->endMs = record.ms;
            open->output = OutputOf(console, record.name);
            for (const auto& device : devices) {
                DeviceLog& log = open->devices[device];
                const DeviceState& now = state[device];
                log.lines.push_back({record.ms, now.lines.dtr, now.lines.rts});
                log.stored = now.stored;
            }
        } else if (record.kind == "end") {
            if (open && open->name == record.name) {
                open->endMs = record.ms;
                if (!record.values.empty()) open->exitCode = static_cast<int>(record.values[0]);
            }
            open = nullptr;
        } else {
            Apply(record, state[record.source]);
            if (open) AddToLog(record, open->devices[record.source]);
        }
    }
    return cases;
}

}  // namespace zmt::sim::bridge
