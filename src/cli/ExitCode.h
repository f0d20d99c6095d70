#pragma once

#include "device/DeviceImage.h"

namespace zmt::cli {

// What the tool's exit status tells a script.
enum ExitCode : int {
    Success = 0,
    Differences = 1,      // verify: the meter differs from the file
    UnitsFailed = 1,      // series: at least one unit failed
    UsageError = 2,       // unknown command or option, a missing FILE or PORT
    PortUnavailable = 3,  // the port could not be opened (missing, busy, no permission)
    NoInterface = 4,      // no echo: no programming interface on the port
    NoMeter = 5,          // the interface echoes, no meter answers
    DataError = 6,        // the meter's answer was incomplete, or a reading was refused
    FileError = 7,        // FILE cannot be read, fails its checks or cannot be written
    Interrupted = 130,    // stopped by Ctrl-C (128 + SIGINT)
};

// What an exchange's checks tell a script.
inline ExitCode CodeOf(ExchangeCheck check) {
    switch (check) {
        case ExchangeCheck::Passed:
            return Success;
        case ExchangeCheck::InterfaceMissing:
            return NoInterface;
        case ExchangeCheck::ConnectionFailed:
            return NoMeter;
        case ExchangeCheck::DataIncomplete:
            break;
    }
    return DataError;
}

}  // namespace zmt::cli
