#pragma once

#include "link/ComPortNames.h"
#include "link/interface/PlatformDevice.h"

#include <atomic>
#include <mutex>
#include <string>

namespace zmt::link {

// A serial port on a POSIX terminal device: raw termios, poll() for comm events, an
// eventfd to cancel a wait, ioctls for the modem lines.
class PosixTerminalDevice : public PlatformDevice {
  public:
    // Opens COMn as ComPortPath(n) says.
    PosixTerminalDevice();
    // Opens `path` whatever number it is asked for: a probe of one listed device.
    explicit PosixTerminalDevice(std::string path);
    ~PosixTerminalDevice() override;
    PosixTerminalDevice(const PosixTerminalDevice&) = delete;
    PosixTerminalDevice& operator=(const PosixTerminalDevice&) = delete;

    OpenResult open(int number) override;
    bool isOpen() const override { return fd_ >= 0; }
    bool setTimeouts() override { return isOpen(); }
    bool setQueueSizes(int inSize, int outSize) override;
    bool setEventMask(std::uint32_t mask) override;
    bool setCommState(const CommState& state) override;
    bool getCommState(CommState& state) override;
    bool lineFunction(LineFunction function) override;
    bool status(CommStatus& status) override;
    int read(std::uint8_t* buffer, int count) override;
    int write(const std::uint8_t* buffer, int count) override;
    bool purge(std::uint32_t flags) override;
    WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override;
    void cancelWait() override;
    bool waitWritable(int timeoutMs) override;
    void cancelWriteWait() override;
    void close() override;

  private:
    std::string pathOf(int number) const;
    OpenResult failOpen(OpenFailure failure, int errorNumber, const std::string& path);
    OpenFailure takeOwnership();
    void resetWaitState();
    bool applyTermios(const CommState& state);
    void applyLineControl(std::uint32_t flags);
    int bytesWaiting() const;
    bool newBytesSinceReport(std::uint32_t& mask);
    void forgetAnnounced(std::uint32_t taken);
    std::uint32_t modemChanges();
    WaitResult pollOnce(int timeoutMs, bool watchInput, std::uint32_t& mask);

    std::string fixedPath_;  // empty: COMn by its number
    int fd_ = -1;
    int cancelFd_ = -1;       // eventfd that wakes waitEvent()
    int writeCancelFd_ = -1;  // eventfd that wakes waitWritable()
    std::atomic<std::uint32_t> eventMask_{0};
    std::atomic<bool> maskChanged_{false};
    std::atomic<bool> gone_{false};
    CommState state_{};
    // How many of the bytes waiting in the driver an RxChar event has already announced:
    // poll() keeps reporting POLLIN while they wait, and announcing them again would spin.
    std::mutex rxMutex_;
    std::uint32_t announced_ = 0;
    bool waitingDisarmed_ = false;  // a wait runs that ignores the input until a read
    int modemLines_ = -1;  // last modem status seen; -1 before the first look or without lines
    bool modemLinesKnown_ = true;
};

}  // namespace zmt::link
