#pragma once

// One byte exchange with the programming interface, without a window: the power-down and
// start-up steps, the paced byte-by-byte exchange and the receive time-out that ends it.

#include "common/Clock.h"
#include "common/OneShotTimer.h"
#include "link/interface/PlatformDevice.h"
#include "link/interface/TransferState.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace zmt::link {

class TSpComPort;

// The port as the transfer window holds it: 9600 bit/s, COM1, both lines low, the event
// thread above the write thread.
std::unique_ptr<TSpComPort> MakeRS232(PlatformDeviceFactory factory = {});

// The port operations an exchange uses. Any of them may throw; the engine decides where
// a failure is ignored.
class TransferPort {
  public:
    virtual ~TransferPort() = default;
    virtual void Close() = 0;
    virtual void PurgeRx() = 0;
    virtual void PurgeTx() = 0;
    virtual int InBufUsed() = 0;
    virtual std::uint8_t ReadChar() = 0;
    virtual void WriteChar(std::uint8_t byte) = 0;
    virtual void setDTR(bool on) = 0;
    virtual void setRTS(bool on) = 0;
};

// The port component as the engine's port.
class SpComPortTransferPort : public TransferPort {
  public:
    explicit SpComPortTransferPort(TSpComPort& port) : port_(port) {}
    void Close() override;
    void PurgeRx() override;
    void PurgeTx() override;
    int InBufUsed() override;
    std::uint8_t ReadChar() override;
    void WriteChar(std::uint8_t byte) override;
    void setDTR(bool on) override;
    void setRTS(bool on) override;

  private:
    TSpComPort& port_;
};

// The exchange as a chain of one-shot timers (times from the start):
//   0 ms     close the port, "reset..."
//   400 ms   open the port with both lines low (meter unpowered, signal off)
//   1300 ms  signal off, input purged
//   1900 ms  meter powered, input purged
//   3500 ms  input purged, the first byte 40 ms later; "transfer data..."
// Then every byte sent waits for its echo and the meter's answer; 40 ms after the second
// of them the next byte goes out. One second without a byte ends the exchange, and so does
// a byte beyond the one extra that the data check accepts.
class TransferEngine : public QObject {
    Q_OBJECT
  public:
    enum TimerId {
        veryfirsttimer,
        firsttimer,
        inittimer,
        inittimer1,
        inittimer2,
        writetimer,
        Timer1,
        TimerCount
    };

    // Opens the selected port and sets its two lines: power (DTR), signal (RTS).
    using PortLinesHook = std::function<void(bool power, bool signal)>;

    TransferEngine(TransferState& state, TransferPort& port, Clock& clock,
                   QObject* parent = nullptr);

    void setPortLinesHook(PortLinesHook hook) { setPortLines_ = std::move(hook); }
    // While set, bytes that arrive between exchanges are left waiting for whoever reads
    // them (a presence probe between two operations) instead of being discarded.
    void setIdleBytesKept(bool kept) { idleBytesKept_ = kept; }

    // From the start until the receive time-out has ended the exchange.
    bool Running() const { return running_; }
    int Progress() const { return progress_; }
    OneShotTimer& timer(TimerId id) { return *timers_[id]; }

    // Progress bar value after `received` of `expected` bytes: percent rounded to the
    // nearest integer (ties to even), within 0..100.
    static int ProgressPercent(std::int64_t received, std::int64_t expected);

    // The steps, in the order an exchange runs them. Start does nothing while an exchange
    // runs, so showing the window twice never restarts it. None of them throws: a port step
    // that fails is ignored, and a missing interface shows as silence.
    void Start();
    // Closes the port, ignoring a failure (the transfer window's close does this).
    void ClosePort();
    // Abandons an exchange under way: no step of it runs any more, the port closes and no
    // end is reported (whoever cancels it no longer waits for it).
    void Cancel();
    void veryfirsttimerTimer();
    void firsttimerTimer();
    void inittimerTimer();
    void inittimer1Timer();
    void inittimer2Timer();
    void writetimerTimer();
    // A receive notification of the port: reads what is waiting, nothing when nothing is.
    void RS232DataRecived();
    void Timer1Timer();

  signals:
    // An exchange begins: the transfer window shows itself.
    void started();
    void memoCleared();
    void memoLineAdded(const QString& line);
    void progressChanged(int percent);
    // The exchange has ended (normally by the receive time-out) and the port is closed;
    // emitted once per exchange.
    void exchangeEnded();

  private:
    void SetProgress(int percent);
    void ReceiveWaitingBytes();
    void ReceiveOneByte();
    void SendNextByteAfterAnswers();
    bool Overrun() const;
    void EndExchange();
    void Enable(TimerId id, bool on) { timers_[id]->setEnabled(on); }

    TransferState& state_;
    TransferPort& port_;
    PortLinesHook setPortLines_;
    std::array<OneShotTimer*, TimerCount> timers_{};
    bool running_ = false;
    bool idleBytesKept_ = false;
    int progress_ = 0;
};

}  // namespace zmt::link
