#pragma once

// The serial port component: one COM port as an object with properties, byte reads and
// queued writes, and notifications that always arrive on the user-interface thread.

#include "link/SpComPortCore.h"
#include "link/interface/PlatformDevice.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace zmt::link {

// "%s - %s " built from the message and the component's name.
class ESpComPortError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum TSpBaudrate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    brUser
};
enum TSpDatabits { db4, db5, db6, db7, db8 };
enum TSpParity { paNone, paOdd, paEven, paMark, paSpace };
enum TSpStopbits { sbOne, sbOneAndHalf, sbTwo };
enum TSpFlowControl { fwNone, fwXOnXOff, fwRtsCts, fwDtrDsr };
enum TSpComOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coStripNull };
// A set of TSpComOption: bit (1 << option).
using TSpComOptions = std::uint32_t;
constexpr TSpComOptions SpComOption(TSpComOption option) {
    return 1u << option;
}

// The comm state record that the properties give (the rebuild of the component).
struct TSpPortSettings {
    TSpBaudrate baudRate = br115200;
    int userBaudRate = 0;
    TSpDatabits databits = db8;
    TSpParity parity = paNone;
    TSpStopbits stopbits = sbOne;
    TSpFlowControl flowControl = fwNone;
    TSpComOptions options = 0;
    char xonChar = 17;
    char xoffChar = 19;
    std::uint16_t xonLim = 0;
    std::uint16_t xoffLim = 0;
    bool dtr = true;
    bool rts = true;
};
CommState BuildCommState(const TSpPortSettings& settings);

class TSpComPort : public QObject {
    Q_OBJECT
  public:
    // `factory` makes the device behind every open; the default is the POSIX terminal
    // backend (COMn -> ./comN when it exists, else /dev/ttyS<n-1>).
    explicit TSpComPort(QObject* parent = nullptr, const QString& name = "RS232",
                        PlatformDeviceFactory factory = {});
    ~TSpComPort() override;

    // What throws: Open (and Loaded with AutoOpen, setComNumber on an open port) raises
    // ESpComPortCoreError; a setter of the line settings on an open port raises it when
    // the device refuses the record; the buffer sizes on an open port and the byte reads
    // and writes raise ESpComPortError. Every other method never throws.

    // End of loading the owner's properties: AutoOpen opens, else the record is rebuilt.
    void Loaded();

    void Open();   // no effect when already open; failures raise ESpComPortCoreError
    void Close();  // stops delivery, closes; OnPortClose even when not open. Never throws.
    bool IsOpen() const;

    bool AutoOpen() const { return autoOpen_; }
    void setAutoOpen(bool on) { autoOpen_ = on; }
    int ComNumber() const;
    void setComNumber(int number);  // reopens when open and the number changes
    TSpBaudrate BaudRate() const;
    void setBaudRate(TSpBaudrate rate);
    int UserBaudRate() const { return settings_.userBaudRate; }
    void setUserBaudRate(int rate);
    TSpDatabits Databits() const { return settings_.databits; }
    void setDatabits(TSpDatabits bits);
    TSpParity Parity() const { return settings_.parity; }
    void setParity(TSpParity parity);
    TSpStopbits Stopbits() const { return settings_.stopbits; }
    void setStopbits(TSpStopbits bits);
    TSpFlowControl FlowControl() const { return settings_.flowControl; }
    void setFlowControl(TSpFlowControl flow);
    TSpComOptions Options() const { return settings_.options; }
    void setOptions(TSpComOptions options);
    char XOnChar() const { return settings_.xonChar; }
    void setXOnChar(char c);
    char XOffChar() const { return settings_.xoffChar; }
    void setXOffChar(char c);
    std::uint16_t XOnLim() const { return settings_.xonLim; }
    void setXOnLim(std::uint16_t limit);
    std::uint16_t XOffLim() const { return settings_.xoffLim; }
    void setXOffLim(std::uint16_t limit);
    int InBufSize() const { return inBufSize_; }
    void setInBufSize(int size);  // "Port is not closed" while open
    int OutBufSize() const { return outBufSize_; }
    void setOutBufSize(int size);
    TThreadPriority EventThreadPriority() const { return eventPriority_; }
    void setEventThreadPriority(TThreadPriority priority) { eventPriority_ = priority; }
    TThreadPriority WriteThreadPriority() const { return writePriority_; }
    void setWriteThreadPriority(TThreadPriority priority) { writePriority_ = priority; }
    bool DTR() const;
    // Drives the line only when the value differs and the core is active; a refused line
    // function (a pseudo-terminal has none) is ignored. Never throws.
    void setDTR(bool on);
    bool RTS() const;
    void setRTS(bool on);
    const CommState& GetCommState() const { return commState_; }

    void PurgeRx();  // never throws; nothing happens while closed or closing
    void PurgeTx();
    std::uint8_t ReadChar();         // "Read data error - RS232 " when no byte waits
    void WriteChar(std::uint8_t c);  // "Write data error [requested: 1, free: 0] - RS232 " ...
    void ReadData(std::uint8_t* buffer, int count);
    void WriteData(const std::uint8_t* buffer, int count);
    int InBufUsed();
    int OutBufFree();
    // Bytes written that the write thread has not yet handed to the device.
    int OutBufUsed();

    // Notifications, run on the user-interface thread (one at a time). Assign them while
    // the port is closed.
    std::function<void(TSpComPort* sender, int count)> OnDataRecived;
    std::function<void(TSpComPort* sender, std::uint32_t errors)> OnLineError;
    std::function<void(TSpComPort* sender)> OnPortOpen;
    std::function<void(TSpComPort* sender)> OnPortClose;
    // True while a device opens (which may take a moment), false afterwards.
    std::function<void(bool opening)> OnOpening;
    std::function<void(TSpComPort* sender)> OnOutBufFree;
    std::function<void(TSpComPort* sender)> OnCTSChanged;
    std::function<void(TSpComPort* sender)> OnDSRChanged;
    std::function<void(TSpComPort* sender)> OnRINGDetected;
    std::function<void(TSpComPort* sender)> OnRLSDChanged;
    std::function<void(TSpComPort* sender, TSpCoreEvent kind, std::uint32_t data)> OnSyncEvent;
    // Runs in the event thread instead of the delivery; nothing reaches the other events.
    std::function<void(TSpComPort* sender, TSpCoreEvent kind, std::uint32_t data)> OnNonSyncEvent;

  private:
    struct Notification {
        bool pending = false;
        TSpCoreEvent kind = ceOutBufFree;
        std::uint32_t data = 0;
        std::exception_ptr error;
    };

    void RebuildCommState();
    void RecomputeLimits();
    [[noreturn]] void RaiseError(const std::string& message) const;
    void OpenCore();
    void HandleCoreEvent(TSpCoreEvent kind, std::uint32_t data, std::exception_ptr error);
    void DeliverSyncEvent();
    void DeliverLineEvent(std::uint32_t mask);
    void DriveLine(bool on, bool& remembered, LineFunction set, LineFunction clear);

    TSpPortSettings settings_;
    CommState commState_{};
    bool autoOpen_ = false;
    int comNumber_ = 0;
    int inBufSize_ = 4096;
    int outBufSize_ = 2048;
    TThreadPriority eventPriority_ = tpNormal;
    TThreadPriority writePriority_ = tpHighest;
    std::uint32_t syncId_ = 0;
    std::atomic<bool> closing_{false};
    std::atomic<bool> destroying_{false};
    std::mutex notificationMutex_;
    Notification notification_;  // the one in flight, handed from the event thread
    std::unique_ptr<TSpComPortCore> core_;
};

}  // namespace zmt::link
