#pragma once

#include "sim/bridge/TimelineChecks.h"

#include <ostream>
#include <string>
#include <vector>

namespace zmt::sim::bridge {

// What one of the guest's cases must show; the guest's init names the same cases.
enum class CaseKind {
    Read,         // read --json: frames, timeline, the image read back
    WriteVerify,  // write --verify --json: the image written, stored and read back
    Operation,    // frames and timeline only
    Search,       // find: the meter stays unpowered
    Listing,      // ports: the adapter is listed
    Unplug,       // the adapter is pulled during the exchange
    Vanished,     // a read on the adapter that is gone
};

struct CaseSpec {
    std::string name;
    std::string device;      // "ftdi" or "uart"
    std::string devicePath;  // the guest's device
    CaseKind kind;
    int exitCode;  // -1: any failure
};

const std::vector<CaseSpec>& GuestCases();

struct CaseResult {
    std::vector<std::string> findings;
    std::vector<std::string> figures;
};

CaseResult CheckCase(const CaseSpec& spec, const CaseLog& log);

// Checks every case of GuestCases against the logs and prints a report; true when all
// passed.
bool ReportCases(const std::vector<CaseLog>& logs, std::ostream& out);

}  // namespace zmt::sim::bridge
