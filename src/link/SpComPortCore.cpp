#include "link/SpComPortCore.h"

#include "link/SystemDevice.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace zmt::link {
namespace {

namespace sig = core_signal;

std::string withNumber(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace

// ---- common part of the workers ----

TSpComPortCoreThread::TSpComPortCoreThread(TSpComPortCore& core, PlatformDevice& device)
    : core_(core), device_(device) {}

TSpComPortCoreThread::~TSpComPortCoreThread() {
    signals_.set(sig::Stop);
    device_.cancelWait();
    device_.cancelWriteWait();
    Join();
}

bool TSpComPortCoreThread::Start() {
    core_.workerReplies_.reset(sig::ThreadStarted);
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return core_.workerReplies_.waitAny(sig::ThreadStarted, core_limits::ThreadStartMs) != 0;
}

void TSpComPortCoreThread::SignalStarted() {
    core_.workerReplies_.set(sig::ThreadStarted);
}

void TSpComPortCoreThread::Stop() {
    signals_.set(sig::Stop);
    Join();
}

void TSpComPortCoreThread::Join() {
    if (thread_.joinable()) thread_.join();
}

// An exception that ends a worker goes to the core's owner, which shows it on the
// user-interface thread.
void TSpComPortCoreThread::HandleException(std::exception_ptr error) {
    if (core_.failureHandler_) core_.failureHandler_(error);
}

// ---- event thread ----

TSpComPortEventThread::TSpComPortEventThread(TSpComPortCore& core, PlatformDevice& device,
                                             TSpCoreCallback callback)
    : TSpComPortCoreThread(core, device), callback_(std::move(callback)) {}

void TSpComPortEventThread::Execute() {
    SignalStarted();
    // The device stops being waited on when a mask change cancelled the wait or the
    // device went away; from then on only the 200 ms poll runs.
    bool deviceWaits = true;
    for (;;) {
        const std::uint32_t signal =
            deviceWaits
                ? signals_.take(sig::Stop | sig::TransmitDrained)
                : signals_.waitAny(sig::Stop | sig::TransmitDrained, core_limits::PollIntervalMs);
        if (signal == sig::Stop) return;
        if (signal == sig::TransmitDrained)
            Report(ceOutBufFree, 0);
        else if (!deviceWaits)
            PollInput();
        else
            deviceWaits = WaitOnDevice();
    }
}

bool TSpComPortEventThread::WaitOnDevice() {
    std::uint32_t mask = 0;
    switch (device_.waitEvent(core_limits::PollIntervalMs, mask)) {
        case WaitResult::Event:
            if (mask == 0) return false;
            Report(ceLineEvent, mask);
            return true;
        case WaitResult::TimedOut:
            PollInput();
            return true;
        case WaitResult::Cancelled:
            return true;
        case WaitResult::Failed:
            break;
    }
    // Reported once as a line error; the port stays quiet until it is closed.
    core_.errors_ |= ce::IoError;
    Report(ceLineEvent, ev::Err);
    return false;
}

void TSpComPortEventThread::PollInput() {
    const CommStatus status = core_.GetStatus();
    if (status.bytesWaiting > 0) Report(ceDataAvailable, status.bytesWaiting);
}

void TSpComPortEventThread::Report(TSpCoreEvent kind, std::uint32_t data,
                                   std::exception_ptr error) {
    TSpCoreCallback callback;
    {
        std::lock_guard lock(callbackMutex_);
        callback = callback_;
    }
    if (!callback) return;
    try {
        callback(kind, data, error);
    } catch (...) {
        if (kind != ceException) HandleException(std::current_exception());
    }
}

void TSpComPortEventThread::HandleException(std::exception_ptr error) {
    Report(ceException, 0, error);
}

void TSpComPortEventThread::Stop() {
    {
        std::lock_guard lock(callbackMutex_);
        callback_ = nullptr;
    }
    signals_.set(core_signal::Stop);
    device_.cancelWait();
    device_.setEventMask(0);
    device_.purge(purge::RxAbort | purge::RxClear);
    Join();
}

// ---- write thread ----

TSpComPortWriteThread::TSpComPortWriteThread(TSpComPortCore& core, PlatformDevice& device,
                                             std::uint32_t ringSize)
    : TSpComPortCoreThread(core, device), writeLock_(core.writeLock_), ring_(ringSize) {}

void TSpComPortWriteThread::Execute() {
    SignalStarted();
    for (;;) {
        const std::uint32_t signal = signals_.waitAny(
            sig::Stop | sig::PurgeRequest | sig::DataReady, core_limits::IdleWaitMs);
        if (signal == sig::Stop) return;
        if (signal == sig::PurgeRequest) AcknowledgePurge();
        if (signal == sig::DataReady) Drain();
    }
}

// Writes until the ring is empty, a stop or purge comes, or the device refuses.
void TSpComPortWriteThread::Drain() {
    int idleRounds = 0;
    while (!signals_.isSet(sig::Stop | sig::PurgeRequest)) {
        bool progressed = false;
        if (!WriteChunk(progressed)) return;
        idleRounds = progressed ? 0 : idleRounds + 1;
        if (idleRounds > 1) {
            // The device says it can take more but takes nothing: do not spin on it.
            signals_.waitSet(sig::Stop | sig::PurgeRequest, core_limits::PollIntervalMs);
        } else if (!progressed && !device_.waitWritable(core_limits::PollIntervalMs)) {
            return;
        }
    }
}

// One device write of the bytes stored contiguously. False when there is nothing more to
// do for now (ring empty, device failed).
bool TSpComPortWriteThread::WriteChunk(bool& progressed) {
    const std::uint8_t* data;
    std::uint32_t n;
    {
        std::lock_guard lock(writeLock_);
        n = ring_.LinearUsed();
        data = ring_.ReadPointer();
    }
    if (n == 0) return false;
    // The bytes between the read position and n are only ever removed by this thread.
    const int written = device_.write(data, static_cast<int>(n));
    if (written < 0) return false;
    progressed = written > 0;
    bool empty;
    {
        std::lock_guard lock(writeLock_);
        ring_.Remove(static_cast<std::uint32_t>(written));
        empty = ring_.Used() == 0;
    }
    if (empty) core_.TransmitDrained();
    return !empty;
}

void TSpComPortWriteThread::AcknowledgePurge() {
    {
        std::lock_guard lock(writeLock_);
        signals_.reset(sig::DataReady);
        ring_.Clear();
        purgeResult_ = device_.purge(purge::TxAbort | purge::TxClear);
    }
    core_.workerReplies_.set(sig::PurgeAcknowledged);
}

bool TSpComPortWriteThread::Write(const std::uint8_t* data, std::uint32_t n) {
    std::lock_guard lock(writeLock_);
    if (!ring_.Write(data, n)) return false;
    signals_.set(sig::DataReady);
    return true;
}

bool TSpComPortWriteThread::Purge() {
    core_.workerReplies_.reset(sig::PurgeAcknowledged);
    signals_.set(sig::PurgeRequest);
    device_.cancelWriteWait();
    if (!core_.workerReplies_.waitAny(sig::PurgeAcknowledged, core_limits::PurgeAcknowledgeMs))
        return false;
    return purgeResult_;
}

std::uint32_t TSpComPortWriteThread::FreeSpace() {
    std::lock_guard lock(writeLock_);
    return ring_.FreeSpace();
}

std::uint32_t TSpComPortWriteThread::Used() {
    std::lock_guard lock(writeLock_);
    return ring_.Used();
}

void TSpComPortWriteThread::Stop() {
    Purge();
    signals_.set(core_signal::Stop);
    device_.cancelWriteWait();
    Join();
}

// ---- core ----

TSpComPortCore::TSpComPortCore(PlatformDeviceFactory factory) : factory_(std::move(factory)) {}

TSpComPortCore::~TSpComPortCore() {
    ClosePort();
}

void TSpComPortCore::OpenPort(int number) {
    if (opened_) return;
    if (number <= 0)
        throw ESpComPortCoreError(withNumber("Invalid port number (COM%d)", number),
                                  OpenFailure::NoSuchDevice);
    OpenDevice(number);
    try {
        Configure();
        StartThreads();
    } catch (...) {
        ClosePort();
        throw;
    }
}

void TSpComPortCore::OpenDevice(int number) {
    if (!device_) device_ = factory_ ? factory_() : MakeSystemDevice();
    const OpenResult result = device_->open(number);
    if (result.ok()) {
        portNumber_ = number;
        return;
    }
    const char* format = result.failure == OpenFailure::NoSuchDevice ? "Invalid port number (COM%d)"
                                                                     : "Can't open device COM%d";
    throw ESpComPortCoreError(withNumber(format, number), result.failure, result.errorNumber,
                              result.path);
}

void TSpComPortCore::Configure() {
    if (!device_->setTimeouts()) throw ESpComPortCoreError("Error setting timeouts");
    if (!device_->setQueueSizes(inQueueSize_, outQueueSize_))
        throw ESpComPortCoreError("Error initializing buffers");
    if (!device_->setEventMask(eventMask_)) throw ESpComPortCoreError(" Error setting EventMask");
    if (!device_->setCommState(commState_)) {
        device_->getCommState(commState_);
        throw ESpComPortCoreError("Error setting parameters from DCB");
    }
}

void TSpComPortCore::StartThreads() {
    errors_ = 0;
    writeThread_ = std::make_unique<TSpComPortWriteThread>(
        *this, *device_, static_cast<std::uint32_t>(outQueueSize_));
    StartThread(*writeThread_);
    writeThread_->SetPriority(writePriority_);
    active_ = true;
    eventThread_ = std::make_unique<TSpComPortEventThread>(*this, *device_, callback_);
    StartThread(*eventThread_);
    eventThread_->SetPriority(eventPriority_);
    opened_ = true;
}

void TSpComPortCore::StartThread(TSpComPortCoreThread& thread) {
    if (!thread.Start()) throw ESpComPortCoreError("Error creating threads");
}

void TSpComPortCore::ClosePort() {
    if (!device_ || !device_->isOpen()) return;
    active_ = false;
    readLock_.wake();
    {
        std::lock_guard lock(readLock_);
        device_->purge(purge::TxAbort | purge::RxAbort | purge::TxClear | purge::RxClear);
        if (writeThread_) writeThread_->Stop();
        writeThread_.reset();
        if (eventThread_) eventThread_->Stop();
        eventThread_.reset();
    }
    device_->close();
    opened_ = false;
}

void TSpComPortCore::TransmitDrained() {
    if (eventThread_) eventThread_->TransmitDrained();
    device_->cancelWait();
}

void TSpComPortCore::SetCommState(const CommState& state) {
    commState_ = state;
    if (!active_ || device_->setCommState(state)) return;
    device_->getCommState(commState_);
    throw ESpComPortCoreError("Error setting parameters from DCB");
}

void TSpComPortCore::LineFunction(zmt::link::LineFunction function) {
    if (active_) device_->lineFunction(function);
}

// The event thread's poll must not queue behind ClosePort, which holds the read lock while
// it waits for that thread: it gives up as soon as the port stops being active.
CommStatus TSpComPortCore::GetStatus() {
    CommStatus status;
    if (!readLock_.lockWhile(active_)) return status;
    std::lock_guard lock(readLock_, std::adopt_lock);
    device_->status(status);
    errors_ |= status.errors;
    return status;
}

int TSpComPortCore::Read(std::uint8_t* buffer, int count) {
    if (!active_) return -1;
    std::lock_guard lock(readLock_);
    return device_->read(buffer, count);
}

bool TSpComPortCore::Write(const std::uint8_t* buffer, int count) {
    if (!active_ || !writeThread_ || count < 0) return false;
    return writeThread_->Write(buffer, static_cast<std::uint32_t>(count));
}

bool TSpComPortCore::PurgeInput() {
    if (!active_) return false;
    std::lock_guard lock(readLock_);
    return device_->purge(purge::RxAbort | purge::RxClear);
}

bool TSpComPortCore::PurgeOutput() {
    if (!active_ || !writeThread_) return false;
    return writeThread_->Purge();
}

int TSpComPortCore::OutBufFree() {
    if (!active_ || !writeThread_) return 0;
    return static_cast<int>(writeThread_->FreeSpace());
}

int TSpComPortCore::OutBufUsed() {
    if (!active_ || !writeThread_) return 0;
    return static_cast<int>(writeThread_->Used());
}

void TSpComPortCore::SetQueueSizes(int inSize, int outSize) {
    inQueueSize_ = inSize;
    outQueueSize_ = outSize;
}

void TSpComPortCore::SetThreadPriorities(TThreadPriority eventPriority,
                                         TThreadPriority writePriority) {
    eventPriority_ = eventPriority;
    writePriority_ = writePriority;
    if (eventThread_) eventThread_->SetPriority(eventPriority);
    if (writeThread_) writeThread_->SetPriority(writePriority);
}

}  // namespace zmt::link
