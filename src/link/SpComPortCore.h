#pragma once

// The port core: the open device, its comm state, the read and write locks and the two
// worker threads of an open port. The port component creates one and nothing else calls it.

#include "link/SignalBoard.h"
#include "link/SpCircularBuffer.h"
#include "link/interface/PlatformDevice.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace zmt::link {

// Failures of the port core while opening ("Can't open device COM1", ...). Carries why
// the platform refused, so that a window can say what the user can do about it.
class ESpComPortCoreError : public std::runtime_error {
  public:
    ESpComPortCoreError(const std::string& message, OpenFailure failure = OpenFailure::Other,
                        int errorNumber = 0, std::string path = {})
        : std::runtime_error(message),
          failure_(failure),
          errorNumber_(errorNumber),
          path_(std::move(path)) {}
    OpenFailure failure() const { return failure_; }
    int errorNumber() const { return errorNumber_; }
    // The device file the port number led to; empty when the open never got that far.
    const std::string& path() const { return path_; }

  private:
    OpenFailure failure_;
    int errorNumber_;
    std::string path_;
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
enum TSpCoreEvent { ceOutBufFree = 0, ceLineEvent = 1, ceDataAvailable = 2, ceException = 3 };

// A core notification: the kind, its data, and for ceException the exception object.
using TSpCoreCallback =
    std::function<void(TSpCoreEvent kind, std::uint32_t data, std::exception_ptr error)>;

namespace core_signal {
inline constexpr std::uint32_t Stop = 0x1;  // manual reset
inline constexpr std::uint32_t TransmitDrained = 0x2;
inline constexpr std::uint32_t PurgeRequest = 0x4;
inline constexpr std::uint32_t DataReady = 0x8;
inline constexpr std::uint32_t ThreadStarted = 0x10;
inline constexpr std::uint32_t PurgeAcknowledged = 0x20;
}  // namespace core_signal

namespace core_limits {
inline constexpr int ThreadStartMs = 3000;
inline constexpr int PurgeAcknowledgeMs = 2000;
inline constexpr int HandOffMs = 2000;  // a notification waits this long for the GUI thread
inline constexpr int PollIntervalMs = 200;
inline constexpr int IdleWaitMs = 1000;  // a quiet write thread looks up this often
}  // namespace core_limits

class TSpComPortCore;

// What both workers share: the core, its device, a thread and a stop signal.
class TSpComPortCoreThread {
  public:
    TSpComPortCoreThread(TSpComPortCore& core, PlatformDevice& device);
    virtual ~TSpComPortCoreThread();  // stops a thread that Stop() did not
    TSpComPortCoreThread(const TSpComPortCoreThread&) = delete;
    TSpComPortCoreThread& operator=(const TSpComPortCoreThread&) = delete;

    // Starts the thread and waits up to 3000 ms for it to report that it runs.
    bool Start();
    virtual void Stop();
    void SetPriority(TThreadPriority priority);

  protected:
    virtual void Execute() = 0;
    virtual void HandleException(std::exception_ptr error);
    void SignalStarted();
    void Join();

    TSpComPortCore& core_;
    PlatformDevice& device_;
    SignalBoard signals_{core_signal::Stop};

  private:
    void Run();

    std::thread thread_;
    std::atomic<int> systemThreadId_{0};
};

// Waits for comm events, polls the input queue every 200 ms and reports what it finds.
class TSpComPortEventThread : public TSpComPortCoreThread {
  public:
    TSpComPortEventThread(TSpComPortCore& core, PlatformDevice& device, TSpCoreCallback callback);
    void Stop() override;
    void TransmitDrained() { signals_.set(core_signal::TransmitDrained); }

  protected:
    void Execute() override;
    void HandleException(std::exception_ptr error) override;

  private:
    bool WaitOnDevice();
    void PollInput();
    void Report(TSpCoreEvent kind, std::uint32_t data, std::exception_ptr error = nullptr);

    std::mutex callbackMutex_;
    TSpCoreCallback callback_;
};

// Drains the write ring into the device.
class TSpComPortWriteThread : public TSpComPortCoreThread {
  public:
    TSpComPortWriteThread(TSpComPortCore& core, PlatformDevice& device, std::uint32_t ringSize);
    void Stop() override;
    bool Write(const std::uint8_t* data, std::uint32_t n);
    bool Purge();
    std::uint32_t FreeSpace();
    std::uint32_t Used();

  protected:
    void Execute() override;

  private:
    void Drain();
    bool WriteChunk(bool& progressed);
    void AcknowledgePurge();

    std::mutex& writeLock_;
    TSpCircularBuffer ring_;
    std::atomic<bool> purgeResult_{false};
};

class TSpComPortCore {
  public:
    // `factory` makes the device at the first open; empty means the POSIX terminal backend.
    explicit TSpComPortCore(PlatformDeviceFactory factory = {});
    ~TSpComPortCore();
    TSpComPortCore(const TSpComPortCore&) = delete;
    TSpComPortCore& operator=(const TSpComPortCore&) = delete;

    void OpenPort(int number);  // raises ESpComPortCoreError; no effect when opened
    void ClosePort();
    bool Active() const { return active_; }
    bool Opened() const { return opened_; }

    // Copies the record; while active applies it, and on refusal re-reads the device's
    // state into the copy and raises "Error setting parameters from DCB".
    void SetCommState(const CommState& state);
    const CommState& GetCommState() const { return commState_; }
    void LineFunction(zmt::link::LineFunction function);  // only while active; result ignored
    CommStatus GetStatus();                               // ORs the line errors in
    std::uint32_t TakeErrors() { return errors_.exchange(0); }
    int Read(std::uint8_t* buffer, int count);  // -1 when not active
    bool Write(const std::uint8_t* buffer, int count);
    bool PurgeInput();
    bool PurgeOutput();
    int OutBufFree();
    // Bytes written but not yet handed to the device.
    int OutBufUsed();

    void SetCallback(TSpCoreCallback callback) { callback_ = std::move(callback); }
    // Receives an exception that ended the write thread. Set it while the port is closed.
    void SetFailureHandler(std::function<void(std::exception_ptr)> handler) {
        failureHandler_ = std::move(handler);
    }
    void SetQueueSizes(int inSize, int outSize);
    void SetThreadPriorities(TThreadPriority eventPriority, TThreadPriority writePriority);
    std::uint32_t EventMask() const { return eventMask_; }

  private:
    friend class TSpComPortCoreThread;
    friend class TSpComPortEventThread;
    friend class TSpComPortWriteThread;

    void OpenDevice(int number);
    void Configure();
    void StartThreads();
    void StartThread(TSpComPortCoreThread& thread);
    void TransmitDrained();

    PlatformDeviceFactory factory_;
    std::unique_ptr<PlatformDevice> device_;
    std::atomic<bool> active_{false};
    std::atomic<bool> opened_{false};
    int portNumber_ = 0;
    CommState commState_{};
    std::uint32_t eventMask_ = ev::DefaultMask;
    std::atomic<std::uint32_t> errors_{0};
    int inQueueSize_ = 8192;
    int outQueueSize_ = 4096;
    TSpCoreCallback callback_;
    std::function<void(std::exception_ptr)> failureHandler_;
    CancellableLock readLock_;
    std::mutex writeLock_;
    SignalBoard workerReplies_;  // what the workers answer: thread started, purge acknowledged
    std::unique_ptr<TSpComPortEventThread> eventThread_;
    std::unique_ptr<TSpComPortWriteThread> writeThread_;
    TThreadPriority writePriority_ = tpHigher;
    TThreadPriority eventPriority_ = tpNormal;
};

}  // namespace zmt::link
