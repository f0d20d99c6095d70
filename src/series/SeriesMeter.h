#pragma once

// What the series loop needs of the port and the operations on it: the operations as every
// write runs them, and a small presence probe between them.

#include "device/OperationSequencer.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace zmt {

class SeriesMeter {
  public:
    virtual ~SeriesMeter() = default;

    // The port open for the series, the meter powered and the signal off. Empty when so,
    // else the port's failure lines.
    virtual QStringList PowerForProbe() = 0;
    // One byte out after dropping what came in before; empty when sent, else why not.
    virtual QStringList SendProbeByte(std::uint8_t byte) = 0;
    // What came back since the probe byte.
    virtual std::vector<std::uint8_t> TakeProbeAnswer() = 0;

    // The operation's question and its start, as the window's "o.k." starts it.
    virtual void StartOperation(OperationMode mode) = 0;
    virtual OperationSequencer& steps() = 0;
    // The operation's steps are over and a restart has been held long enough.
    virtual bool Settled() const = 0;
    // A write frame is on its way to the meter.
    virtual bool Writing() const = 0;
    // Both lines low, the port closed; no pending step runs afterwards. Never throws.
    virtual void Release() = 0;
    // Called whenever the operation may have moved on.
    virtual void setChangeListener(std::function<void()> listener) = 0;
};

}  // namespace zmt
