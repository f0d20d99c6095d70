#pragma once

#include "sim/MeterImage.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zmt::sim::bridge {

// One record of the bridge's timeline, all on the bridge's own monotonic clock in
// milliseconds since it started. As text, one line each:
//   <ms> <source> lines <dtr> <rts>     modem lines after a change
//   <ms> <source> reset                 the adapter's driver reset it (an open)
//   <ms> <source> sent <hex>            a byte from the guest to the interface
//   <ms> <source> answered <hex>        a byte from the interface to the guest
//   <ms> <source> stored <w0> .. <w15>  the meter stored a new image
//   <ms> <source> unplug                the bridge pulled the adapter
//   <ms> console begin <case>           the guest starts a case
//   <ms> console end <case> <exit>      the case ended with this exit status
struct Record {
    double ms = 0;
    std::string source;
    std::string kind;
    std::vector<long> values;
    std::string name;  // the case of a begin or end
};

std::string FormatRecord(const Record& record);
std::optional<Record> ParseRecord(std::string_view line);

struct LineChange {
    double ms;
    bool dtr;
    bool rts;
};

struct WireByte {
    double ms;
    bool fromGuest;
    std::uint8_t value;
};

// What happened on one device during one case. `lines` starts with the state the case
// found, at the case's start.
struct DeviceLog {
    std::vector<LineChange> lines;
    std::vector<WireByte> bytes;
    std::vector<double> resets;
    std::optional<ImageWords> stored;  // the meter's image at the case's end
    std::optional<double> unplugAt;
};

struct CaseLog {
    std::string name;
    double beginMs = 0;
    double endMs = 0;
    std::optional<int> exitCode;  // empty: the case never ended
    std::string output;           // what the guest printed between begin and end
    std::map<std::string, DeviceLog> devices;
};

// Splits the records into the guest's cases; `console` is the guest's console text,
// whose lines "@@hw begin NAME" and "@@hw end NAME CODE" enclose each case's output.
std::vector<CaseLog> SplitIntoCases(const std::vector<Record>& records, std::string_view console,
                                    const std::vector<std::string>& devices);

std::vector<Record> ReadRecords(std::istream& in);

}  // namespace zmt::sim::bridge
