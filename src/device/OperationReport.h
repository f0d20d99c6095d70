#pragma once

// What an operation on the meter tells whoever keeps a record of it: that it is about to
// start, and, once it has ended, what it found, wrote and read back. The operation shows
// the answer (a warning line, or nothing) before it goes on, so a record that cannot be
// kept is known before anything reaches the meter.

#include "device/DeviceState.h"
#include "device/ImageLayout.h"
#include "device/OperationKind.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zmt {

enum class OperationOutcome { Succeeded, Failed, Cancelled };

struct OperationReport {
    Operation operation = Operation::Read;
    QString port;  // COM1..COM4
    // The opening read, when the meter answered it in full, and whether it holds a
    // configuration this program could have written.
    std::optional<ImageWords> asFound;
    bool asFoundValid = false;
    // The last image sent in a write frame, whether or not its exchange passed.
    std::optional<ImageWords> written;
    // The read after a restore's write.
    std::optional<ImageWords> readBack;
    // The operator's display readings of a calibration.
    std::optional<std::int64_t> offsetReading;
    std::optional<std::int64_t> gainReading;
    OperationOutcome outcome = OperationOutcome::Failed;
    // The lines the operation ended with.
    QStringList verdict;
    // A comparison's differences (compare, restore's read-back).
    int differences = 0;
    // How the last exchange went (the tool's exit code follows from it).
    int lastCheck = 0;
};

class OperationReporter {
  public:
    virtual ~OperationReporter() = default;
    // Before the opening read; a non-empty line is a warning the operation shows at once.
    virtual QString OperationStarting(Operation operation, const QString& port) = 0;
    // After the opening read, before the first byte of the operation's first write frame:
    // what the meter held is kept before anything can overwrite it. `report` holds the
    // as-found image and the image about to be written.
    virtual QString WriteStarting(const OperationReport& report) = 0;
    // At the end, before the result is shown; a non-empty line is shown as a warning.
    virtual QString OperationEnded(const OperationReport& report) = 0;
};

}  // namespace zmt
