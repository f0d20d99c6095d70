#pragma once

#include "link/interface/PlatformDevice.h"

#include <atomic>
#include <memory>
#include <string>

namespace zmt::link {

// A serial port on a Win32 communications device, opened for overlapped I/O: the event
// thread waits with WaitCommEvent, the write thread writes overlapped, reads take only what
// ClearCommError reports waiting. A wait ends by SetCommMask or by an event of its own,
// never by cancelling the pending I/O.
class Win32CommDevice : public PlatformDevice {
  public:
    // Opens COMn as ComPortPath(n) says (\\.\COMn unless a binding names another port).
    Win32CommDevice();
    // Opens `path` whatever number it is asked for: a probe of one listed device.
    explicit Win32CommDevice(std::string path);
    ~Win32CommDevice() override;
    Win32CommDevice(const Win32CommDevice&) = delete;
    Win32CommDevice& operator=(const Win32CommDevice&) = delete;

    OpenResult open(int number) override;
    bool isOpen() const override;
    bool setTimeouts() override;
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
    struct Handles;  // the device, its overlapped records and events (windows.h stays inside)

    std::string pathOf(int number) const;
    WaitResult startWait(std::uint32_t& mask);
    WaitResult finishWait(std::uint32_t& mask);
    int finishWrite();
    void settlePendingIo();

    std::string fixedPath_;
    std::unique_ptr<Handles> h_;
    std::atomic<bool> gone_{false};
    bool waitPending_ = false;   // event thread only
    bool writePending_ = false;  // write thread only
};

}  // namespace zmt::link
