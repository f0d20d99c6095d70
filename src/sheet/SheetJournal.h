#pragma once

// Which journal record a configuration sheet names: the newest write of this run that sent
// exactly the words a write of the sheet's configuration would send now. A configuration
// edited after its write, or another one loaded, names none.

#include "device/DeviceState.h"
#include "journal/JournalRecord.h"
#include "sheet/SheetInput.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace zmt {

// The sixteen words a write of the input's configuration would send, with the meter's image
// and the calibration of this run; none when the configuration cannot be written.
std::optional<ImageWords> WordsToWrite(const SheetInput& input);

// The id of the newest of `writes` (in the order they ran) whose written image is the one
// the input's configuration gives; empty when none is. Without a read of the meter the
// words a write passes on from it are unknown and left out of the comparison; for a file
// on its own (no device at all) so are the contact thresholds, which this run's
// calibration shifts.
QString WriteRecordOf(const SheetInput& input, const std::vector<journal::JournalRecord>& writes);

}  // namespace zmt
