#include "link/Win32CommDevice.h"

#include "link/ComBindingFile.h"
#include "link/ComPortNames.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace zmt::link {

// The comm state record is the device control block, byte for byte, and its constants are
// the system's: the record is handed over as it is.
static_assert(sizeof(CommState) == sizeof(DCB));
static_assert(offsetof(CommState, BaudRate) == offsetof(DCB, BaudRate));
static_assert(offsetof(CommState, XonLim) == offsetof(DCB, XonLim));
static_assert(offsetof(CommState, ByteSize) == offsetof(DCB, ByteSize));
static_assert(offsetof(CommState, XonChar) == offsetof(DCB, XonChar));
static_assert(offsetof(CommState, EvtChar) == offsetof(DCB, EvtChar));
static_assert(ev::RxChar == EV_RXCHAR && ev::TxEmpty == EV_TXEMPTY && ev::Cts == EV_CTS &&
              ev::Dsr == EV_DSR && ev::Rlsd == EV_RLSD && ev::Err == EV_ERR && ev::Ring == EV_RING);
static_assert(ce::RxOver == CE_RXOVER && ce::Overrun == CE_OVERRUN && ce::RxParity == CE_RXPARITY &&
              ce::Frame == CE_FRAME && ce::Break == CE_BREAK && ce::IoError == CE_IOE);
static_assert(purge::TxAbort == PURGE_TXABORT && purge::RxAbort == PURGE_RXABORT &&
              purge::TxClear == PURGE_TXCLEAR && purge::RxClear == PURGE_RXCLEAR);
static_assert(int(LineFunction::SetRts) == SETRTS && int(LineFunction::ClrRts) == CLRRTS &&
              int(LineFunction::SetDtr) == SETDTR && int(LineFunction::ClrDtr) == CLRDTR);

namespace {

// A read's own wait for bytes that ClearCommError reported waiting, and the wait of a
// close for the I/O still pending: both end at once on a working device.
constexpr DWORD SettleMs = 1000;

std::wstring WideOf(const std::string& utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

// "COM12" as the device name that reaches it (the bare name reaches COM1..COM9 only).
std::string DeviceNameOf(const std::string& path) {
    return IsWindowsPortName(path) ? "\\\\.\\" + path : path;
}

OpenFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return OpenFailure::NoSuchDevice;
        case ERROR_ACCESS_DENIED:  // the system's answer for a port that another program holds
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return OpenFailure::Busy;
        case ERROR_INVALID_FUNCTION:  // a file or device without comm settings
        case ERROR_NOT_SUPPORTED:
            return OpenFailure::NotSerial;
        default:
            return OpenFailure::Other;
    }
}

HANDLE NewEvent(bool manualReset) {
    return ::CreateEventW(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
}

}  // namespace

struct Win32CommDevice::Handles {
    HANDLE device = INVALID_HANDLE_VALUE;
    OVERLAPPED wait{};
    OVERLAPPED write{};
    OVERLAPPED read{};
    HANDLE cancelWait = NewEvent(false);  // auto reset: one cancel ends one wait
    HANDLE cancelWrite = NewEvent(false);
    DWORD waitMask = 0;

    Handles() {
        wait.hEvent = NewEvent(true);
        write.hEvent = NewEvent(true);
        read.hEvent = NewEvent(true);
    }
    ~Handles() {
        for (HANDLE event : {wait.hEvent, write.hEvent, read.hEvent, cancelWait, cancelWrite})
            if (event) ::CloseHandle(event);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
};

Win32CommDevice::Win32CommDevice() : Win32CommDevice(std::string()) {}

Win32CommDevice::Win32CommDevice(std::string path)
    : fixedPath_(std::move(path)), h_(std::make_unique<Handles>()) {}

Win32CommDevice::~Win32CommDevice() {
    close();
}

std::string Win32CommDevice::pathOf(int number) const {
    return fixedPath_.empty() ? ComPortPath(number) : fixedPath_;
}

bool Win32CommDevice::isOpen() const {
    return h_->device != INVALID_HANDLE_VALUE;
}

OpenResult Win32CommDevice::open(int number) {
    if (isOpen()) return OpenResult{OpenFailure::Busy, ERROR_BUSY, pathOf(number)};
    if (number <= 0 && fixedPath_.empty())
        return OpenResult{OpenFailure::NoSuchDevice, ERROR_FILE_NOT_FOUND, {}};
    const std::string path = pathOf(number);
    h_->device = ::CreateFileW(WideOf(DeviceNameOf(path)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (!isOpen()) {
        const DWORD error = ::GetLastError();
        return OpenResult{FailureOf(error), int(error), path};
    }
    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(h_->device, &current)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(h_->device);
        h_->device = INVALID_HANDLE_VALUE;
        return OpenResult{OpenFailure::NotSerial, int(error), path};
    }
    // The interface powers the meter from DTR: both lines stay low until the port raises them.
    ::EscapeCommFunction(h_->device, CLRDTR);
    ::EscapeCommFunction(h_->device, CLRRTS);
    for (HANDLE event : {h_->cancelWait, h_->cancelWrite}) ::ResetEvent(event);
    gone_ = false;
    waitPending_ = false;
    writePending_ = false;
    return OpenResult{OpenFailure::None, 0, path};
}

// Reads return at once with what is waiting; writes never time out.
bool Win32CommDevice::setTimeouts() {
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    return isOpen() && ::SetCommTimeouts(h_->device, &timeouts);
}

bool Win32CommDevice::setQueueSizes(int inSize, int outSize) {
    return isOpen() && inSize > 0 && outSize > 0 &&
           ::SetupComm(h_->device, DWORD(inSize), DWORD(outSize));
}

// The system completes a pending WaitCommEvent with mask 0 when the mask changes.
bool Win32CommDevice::setEventMask(std::uint32_t mask) {
    return isOpen() && ::SetCommMask(h_->device, mask);
}

bool Win32CommDevice::setCommState(const CommState& state) {
    if (!isOpen() || state.BaudRate == 0) return false;  // a rate of 0 would hang up the line
    DCB dcb{};
    std::memcpy(&dcb, &state, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    return ::SetCommState(h_->device, &dcb);
}

bool Win32CommDevice::getCommState(CommState& state) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!isOpen() || !::GetCommState(h_->device, &dcb)) return false;
    std::memcpy(&state, &dcb, sizeof state);
    return true;
}

bool Win32CommDevice::lineFunction(LineFunction function) {
    return isOpen() && ::EscapeCommFunction(h_->device, DWORD(function));
}

bool Win32CommDevice::status(CommStatus& status) {
    status = CommStatus{};
    if (!isOpen()) return false;
    DWORD errors = 0;
    COMSTAT comStat{};
    if (!::ClearCommError(h_->device, &errors, &comStat)) {
        status.errors = ce::IoError;  // the device went away
        return false;
    }
    status.errors = errors;
    status.bytesWaiting = comStat.cbInQue;
    status.outQueue = comStat.cbOutQue;
    return true;
}

// Only what the driver reports waiting is asked for, so that the read completes at once
// on every driver, including those that keep a "return at once" read pending.
int Win32CommDevice::read(std::uint8_t* buffer, int count) {
    CommStatus waiting;
    if (count < 0 || !status(waiting)) return -1;
    const DWORD wanted = std::min<DWORD>(DWORD(count), waiting.bytesWaiting);
    if (wanted == 0) return 0;
    ::ResetEvent(h_->read.hEvent);
    DWORD got = 0;
    if (::ReadFile(h_->device, buffer, wanted, nullptr, &h_->read))
        return ::GetOverlappedResult(h_->device, &h_->read, &got, FALSE) ? int(got) : -1;
    if (::GetLastError() != ERROR_IO_PENDING) return -1;
    if (::WaitForSingleObject(h_->read.hEvent, SettleMs) != WAIT_OBJECT_0) {
        ::CancelIoEx(h_->device, &h_->read);
        ::WaitForSingleObject(h_->read.hEvent, SettleMs);
    }
    return ::GetOverlappedResult(h_->device, &h_->read, &got, FALSE) ? int(got) : 0;
}

// One overlapped write at a time. While it runs, write() takes nothing; once it has
// completed, the next write() (which offers the same bytes again) reports how many it took.
int Win32CommDevice::write(const std::uint8_t* buffer, int count) {
    if (!isOpen() || count < 0) return -1;
    if (writePending_) return finishWrite();
    if (count == 0) return 0;
    ::ResetEvent(h_->write.hEvent);
    if (!::WriteFile(h_->device, buffer, DWORD(count), nullptr, &h_->write) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return -1;
    writePending_ = true;
    return finishWrite();
}

int Win32CommDevice::finishWrite() {
    DWORD put = 0;
    if (::GetOverlappedResult(h_->device, &h_->write, &put, FALSE)) {
        writePending_ = false;
        return int(put);
    }
    switch (::GetLastError()) {
        case ERROR_IO_INCOMPLETE:
            return 0;
        case ERROR_OPERATION_ABORTED:  // purged
            writePending_ = false;
            return 0;
        default:
            writePending_ = false;
            gone_ = true;
            return -1;
    }
}

bool Win32CommDevice::purge(std::uint32_t flags) {
    return isOpen() && ::PurgeComm(h_->device, flags);
}

WaitResult Win32CommDevice::waitEvent(int timeoutMs, std::uint32_t& mask) {
    mask = 0;
    if (!isOpen() || gone_) return WaitResult::Failed;
    if (!waitPending_) {
        const WaitResult started = startWait(mask);
        if (!waitPending_) return started;
    }
    const HANDLE events[2] = {h_->wait.hEvent, h_->cancelWait};
    switch (::WaitForMultipleObjects(2, events, FALSE, DWORD(std::max(timeoutMs, 0)))) {
        case WAIT_OBJECT_0:
            return finishWait(mask);
        case WAIT_OBJECT_0 + 1:
            return WaitResult::Cancelled;  // the wait stays pending for the next call
        case WAIT_TIMEOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
    }
}

WaitResult Win32CommDevice::startWait(std::uint32_t& mask) {
    ::ResetEvent(h_->wait.hEvent);
    h_->waitMask = 0;
    if (::WaitCommEvent(h_->device, &h_->waitMask, &h_->wait)) {
        mask = h_->waitMask;
        return WaitResult::Event;
    }
    if (::GetLastError() == ERROR_IO_PENDING) {
        waitPending_ = true;
        return WaitResult::TimedOut;
    }
    gone_ = true;  // reported once, then the caller stops waiting
    return WaitResult::Failed;
}

WaitResult Win32CommDevice::finishWait(std::uint32_t& mask) {
    waitPending_ = false;
    DWORD unused = 0;
    if (!::GetOverlappedResult(h_->device, &h_->wait, &unused, FALSE)) {
        gone_ = true;
        return WaitResult::Failed;
    }
    mask = h_->waitMask;
    return WaitResult::Event;
}

void Win32CommDevice::cancelWait() {
    ::SetEvent(h_->cancelWait);
}

bool Win32CommDevice::waitWritable(int timeoutMs) {
    if (!isOpen() || gone_) return false;
    if (!writePending_) return true;
    const HANDLE events[2] = {h_->write.hEvent, h_->cancelWrite};
    return ::WaitForMultipleObjects(2, events, FALSE, DWORD(std::max(timeoutMs, 0))) != WAIT_FAILED;
}

void Win32CommDevice::cancelWriteWait() {
    ::SetEvent(h_->cancelWrite);
}

// The records of pending I/O must outlive it: a pending wait ends by clearing the mask,
// a pending write by the purge, each awaited for a bounded time.
void Win32CommDevice::settlePendingIo() {
    if (waitPending_) {
        ::SetCommMask(h_->device, 0);
        ::WaitForSingleObject(h_->wait.hEvent, SettleMs);
        waitPending_ = false;
    }
    if (writePending_) {
        ::PurgeComm(h_->device, PURGE_TXABORT | PURGE_TXCLEAR);
        ::WaitForSingleObject(h_->write.hEvent, SettleMs);
        writePending_ = false;
    }
}

void Win32CommDevice::close() {
    if (!isOpen()) return;
    settlePendingIo();
    ::CloseHandle(h_->device);
    h_->device = INVALID_HANDLE_VALUE;
}

}  // namespace zmt::link
