#include "link/PosixTerminalDevice.h"

#include "link/PosixCustomBaud.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace zmt::link {
namespace {

// Every call is retried when a signal interrupted it, so that EINTR never looks like a
// failure of the device.
template <typename Call>
auto retryEintr(Call call) {
    decltype(call()) result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

constexpr std::array<std::pair<std::uint32_t, speed_t>, 18> StandardSpeeds{{
    {50, B50},
    {75, B75},
    {110, B110},
    {134, B134},
    {150, B150},
    {200, B200},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {1800, B1800},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
}};

bool standardSpeed(std::uint32_t baud, speed_t& speed) {
    for (const auto& [rate, constant] : StandardSpeeds) {
        if (rate != baud) continue;
        speed = constant;
        return true;
    }
    return false;
}

constexpr std::array<tcflag_t, 4> CharacterSizes{CS5, CS6, CS7, CS8};
// Parity codes 0..4: none, odd, even, mark, space.
constexpr std::array<tcflag_t, 5> ParityFlags{0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                              PARENB | CMSPAR};
constexpr tcflag_t FrameFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t InputFlags = IXON | IXOFF | INPCK;

// Builds the raw settings of the record; false when the record asks for what a terminal
// cannot do (4 data bits, an unknown parity).
bool buildTermios(const CommState& state, termios& settings) {
    if (state.ByteSize < 5 || state.ByteSize > 8 || state.Parity >= ParityFlags.size())
        return false;
    cfmakeraw(&settings);
    settings.c_cflag &= ~FrameFlags;
    settings.c_cflag |= CLOCAL | CREAD | CharacterSizes[state.ByteSize - 5];
    settings.c_cflag |= ParityFlags[state.Parity];
    if (state.StopBits != 0) settings.c_cflag |= CSTOPB;
    if (state.Flags & (dcb::OutxCtsFlow | dcb::RtsControlHandshake)) settings.c_cflag |= CRTSCTS;
    settings.c_iflag &= ~(InputFlags | IXANY);
    if (state.Flags & dcb::OutX) settings.c_iflag |= IXON;
    if (state.Flags & dcb::InX) settings.c_iflag |= IXOFF;
    if (state.Flags & dcb::ParityCheck) settings.c_iflag |= INPCK;
    settings.c_cc[VSTART] = static_cast<cc_t>(state.XonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(state.XoffChar);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return true;
}

// tcsetattr() reports success when any one change applied, so the result is read back.
bool sameFrame(const termios& wanted, const termios& applied) {
    return (wanted.c_cflag & FrameFlags) == (applied.c_cflag & FrameFlags) &&
           (wanted.c_iflag & InputFlags) == (applied.c_iflag & InputFlags) &&
           cfgetospeed(&wanted) == cfgetospeed(&applied);
}

OpenFailure failureOf(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case EIO:  // a /dev/ttyS node without a UART behind it
            return OpenFailure::NoSuchDevice;
        case EACCES:
        case EPERM:
            return OpenFailure::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return OpenFailure::Busy;
        case ENOTTY:  // a file or another device that has no terminal settings
        case EISDIR:  // a folder: it cannot be opened for writing
            return OpenFailure::NotSerial;
        default:
            return OpenFailure::Other;
    }
}

void drainEventFd(int fd) {
    std::uint64_t count = 0;
    while (retryEintr([&] { return ::read(fd, &count, sizeof count); }) > 0) {
    }
}

void signalEventFd(int fd) {
    const std::uint64_t one = 1;
    retryEintr([&] { return ::write(fd, &one, sizeof one); });
}

int modemBits(int fd, int request, int bits) {
    return retryEintr([&] { return ::ioctl(fd, request, &bits); });
}

constexpr short HangUp = POLLERR | POLLHUP | POLLNVAL;

}  // namespace

PosixTerminalDevice::PosixTerminalDevice() : PosixTerminalDevice(std::string()) {}

PosixTerminalDevice::PosixTerminalDevice(std::string path)
    : fixedPath_(std::move(path)),
      cancelFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      writeCancelFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

std::string PosixTerminalDevice::pathOf(int number) const {
    return fixedPath_.empty() ? ComPortPath(number) : fixedPath_;
}

PosixTerminalDevice::~PosixTerminalDevice() {
    close();
    if (cancelFd_ >= 0) ::close(cancelFd_);
    if (writeCancelFd_ >= 0) ::close(writeCancelFd_);
}

OpenResult PosixTerminalDevice::failOpen(OpenFailure failure, int errorNumber,
                                         const std::string& path) {
    if (fd_ >= 0) ::close(fd_);  // errorNumber was taken before this close
    fd_ = -1;
    return OpenResult{failure, errorNumber, path};
}

OpenResult PosixTerminalDevice::open(int number) {
    if (isOpen()) return OpenResult{OpenFailure::Busy, EBUSY, pathOf(number)};
    if (number <= 0 && fixedPath_.empty()) return OpenResult{OpenFailure::NoSuchDevice, ENOENT, {}};
    const std::string path = pathOf(number);
    fd_ = retryEintr(
        [&] { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (fd_ < 0) return failOpen(failureOf(errno), errno, path);
    const OpenFailure failure = takeOwnership();
    if (failure != OpenFailure::None) return failOpen(failure, errno, path);
    resetWaitState();
    return OpenResult{OpenFailure::None, 0, path};
}

// Leaves errno of the failing call for the caller.
OpenFailure PosixTerminalDevice::takeOwnership() {
    // The lock first: a port that another instance holds must keep its lines untouched.
    if (retryEintr([&] { return ::flock(fd_, LOCK_EX | LOCK_NB); }) < 0) return OpenFailure::Busy;
    // Linux raises DTR and RTS on open; the interface powers the meter from DTR.
    modemBits(fd_, TIOCMBIC, TIOCM_DTR | TIOCM_RTS);
    if (retryEintr([&] { return ::ioctl(fd_, TIOCEXCL); }) < 0) return failureOf(errno);
    termios current{};
    if (retryEintr([&] { return ::tcgetattr(fd_, &current); }) < 0) return failureOf(errno);
    return OpenFailure::None;
}

void PosixTerminalDevice::resetWaitState() {
    drainEventFd(cancelFd_);
    drainEventFd(writeCancelFd_);
    gone_ = false;
    maskChanged_ = false;
    announced_ = 0;
    modemLines_ = -1;
    modemLinesKnown_ = true;
}

void PosixTerminalDevice::close() {
    if (fd_ < 0) return;
    retryEintr([&] { return ::ioctl(fd_, TIOCNXCL); });
    ::close(fd_);  // never retried: the descriptor is gone even when close() reports EINTR
    fd_ = -1;
}

bool PosixTerminalDevice::setQueueSizes(int inSize, int outSize) {
    // The kernel's queues have fixed sizes; the port's own ring holds the output.
    return isOpen() && inSize > 0 && outSize > 0;
}

bool PosixTerminalDevice::setEventMask(std::uint32_t mask) {
    if (!isOpen()) return false;
    eventMask_ = mask;
    // Clearing the mask completes a wait in progress with mask 0, as the core expects.
    if (mask == 0) {
        maskChanged_ = true;
        signalEventFd(cancelFd_);
    }
    return true;
}

bool PosixTerminalDevice::setCommState(const CommState& state) {
    if (!isOpen() || !applyTermios(state)) return false;
    applyLineControl(state.Flags);
    state_ = state;
    return true;
}

bool PosixTerminalDevice::applyTermios(const CommState& state) {
    termios wanted{};
    if (retryEintr([&] { return ::tcgetattr(fd_, &wanted); }) < 0) return false;
    if (!buildTermios(state, wanted)) return false;
    speed_t speed = B9600;
    const bool standard = standardSpeed(state.BaudRate, speed);
    if (!standard && state.BaudRate == 0) return false;  // never B0: it hangs up the line
    cfsetispeed(&wanted, speed);
    cfsetospeed(&wanted, speed);
    if (retryEintr([&] { return ::tcsetattr(fd_, TCSANOW, &wanted); }) < 0) return false;
    termios applied{};
    if (retryEintr([&] { return ::tcgetattr(fd_, &applied); }) < 0) return false;
    if (!sameFrame(wanted, applied)) return false;
    return standard || SetCustomBaud(fd_, state.BaudRate);
}

// The record's DTR and RTS control modes: enabled raises the line, disabled lowers it,
// handshake leaves it to the driver.
void PosixTerminalDevice::applyLineControl(std::uint32_t flags) {
    if (!(flags & dcb::DtrControlHandshake))
        modemBits(fd_, (flags & dcb::DtrControlEnable) ? TIOCMBIS : TIOCMBIC, TIOCM_DTR);
    if (!(flags & dcb::RtsControlHandshake))
        modemBits(fd_, (flags & dcb::RtsControlEnable) ? TIOCMBIS : TIOCMBIC, TIOCM_RTS);
}

bool PosixTerminalDevice::getCommState(CommState& state) {
    if (!isOpen()) return false;
    state = state_;
    termios current{};
    if (retryEintr([&] { return ::tcgetattr(fd_, &current); }) < 0) return false;
    for (const auto& [rate, constant] : StandardSpeeds)
        if (constant == cfgetospeed(&current)) state.BaudRate = rate;
    const auto size =
        std::find(CharacterSizes.begin(), CharacterSizes.end(), current.c_cflag & CSIZE);
    state.ByteSize = static_cast<std::uint8_t>(5 + (size - CharacterSizes.begin()));
    state.StopBits = (current.c_cflag & CSTOPB) ? 2 : 0;
    return true;
}

bool PosixTerminalDevice::lineFunction(LineFunction function) {
    if (!isOpen()) return false;
    switch (function) {
        case LineFunction::SetDtr:
            return modemBits(fd_, TIOCMBIS, TIOCM_DTR) == 0;
        case LineFunction::ClrDtr:
            return modemBits(fd_, TIOCMBIC, TIOCM_DTR) == 0;
        case LineFunction::SetRts:
            return modemBits(fd_, TIOCMBIS, TIOCM_RTS) == 0;
        case LineFunction::ClrRts:
            return modemBits(fd_, TIOCMBIC, TIOCM_RTS) == 0;
    }
    return false;
}

int PosixTerminalDevice::bytesWaiting() const {
    int count = 0;
    if (retryEintr([&] { return ::ioctl(fd_, FIONREAD, &count); }) < 0) return -1;
    return count;
}

bool PosixTerminalDevice::status(CommStatus& status) {
    status = CommStatus{};
    if (!isOpen()) return false;
    const int waiting = bytesWaiting();
    if (waiting < 0) {
        status.errors = ce::IoError;  // an unplugged adapter answers EIO
        return false;
    }
    status.bytesWaiting = static_cast<std::uint32_t>(waiting);
    int queued = 0;
    if (retryEintr([&] { return ::ioctl(fd_, TIOCOUTQ, &queued); }) == 0)
        status.outQueue = static_cast<std::uint32_t>(queued);
    return true;
}

int PosixTerminalDevice::read(std::uint8_t* buffer, int count) {
    if (!isOpen() || count < 0) return -1;
    const ssize_t got = retryEintr([&] { return ::read(fd_, buffer, count); });
    if (got < 0 && errno != EAGAIN) return -1;
    const int taken = got < 0 ? 0 : static_cast<int>(got);
    forgetAnnounced(static_cast<std::uint32_t>(taken));
    return taken;
}

int PosixTerminalDevice::write(const std::uint8_t* buffer, int count) {
    if (!isOpen() || count < 0) return -1;
    const ssize_t put = retryEintr([&] { return ::write(fd_, buffer, count); });
    if (put < 0) return errno == EAGAIN ? 0 : -1;
    return static_cast<int>(put);
}

bool PosixTerminalDevice::purge(std::uint32_t flags) {
    if (!isOpen()) return false;
    const bool input = flags & (purge::RxAbort | purge::RxClear);
    const bool output = flags & (purge::TxAbort | purge::TxClear);
    if (!input && !output) return true;
    const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    const bool flushed = retryEintr([&] { return ::tcflush(fd_, queue); }) == 0;
    if (input) forgetAnnounced(UINT32_MAX);
    return flushed;
}

// Bytes that arrived after the last RxChar event (or after a read took some) are a new
// event even while older ones still wait unread.
bool PosixTerminalDevice::newBytesSinceReport(std::uint32_t& mask) {
    const int waiting = bytesWaiting();
    std::lock_guard lock(rxMutex_);
    if (waiting <= 0) {
        announced_ = 0;
        return false;
    }
    if (static_cast<std::uint32_t>(waiting) <= announced_) return false;
    announced_ = static_cast<std::uint32_t>(waiting);
    mask = ev::RxChar;
    return true;
}

// The modem status lines cannot be waited for with poll(); they are compared at every
// time-out instead. A pseudo-terminal has none: then they are never asked again.
std::uint32_t PosixTerminalDevice::modemChanges() {
    const std::uint32_t wanted = eventMask_ & (ev::Cts | ev::Dsr | ev::Rlsd | ev::Ring);
    if (!wanted || !modemLinesKnown_) return 0;
    int lines = 0;
    if (retryEintr([&] { return ::ioctl(fd_, TIOCMGET, &lines); }) < 0) {
        modemLinesKnown_ = false;
        return 0;
    }
    const int changed = modemLines_ < 0 ? 0 : (lines ^ modemLines_);
    modemLines_ = lines;
    std::uint32_t mask = 0;
    if (changed & TIOCM_CTS) mask |= ev::Cts;
    if (changed & TIOCM_DSR) mask |= ev::Dsr;
    if (changed & TIOCM_CD) mask |= ev::Rlsd;
    if (changed & TIOCM_RNG) mask |= ev::Ring;
    return mask & wanted;
}

WaitResult PosixTerminalDevice::waitEvent(int timeoutMs, std::uint32_t& mask) {
    mask = 0;
    if (!isOpen() || gone_) return WaitResult::Failed;
    if (maskChanged_.exchange(false)) return WaitResult::Event;
    const bool watchInput = (eventMask_ & ev::RxChar) != 0;
    if (watchInput && newBytesSinceReport(mask)) return WaitResult::Event;
    bool armed;
    {
        std::lock_guard lock(rxMutex_);
        armed = announced_ == 0;
        waitingDisarmed_ = watchInput && !armed;
    }
    const WaitResult result = pollOnce(timeoutMs, watchInput && armed, mask);
    std::lock_guard lock(rxMutex_);
    waitingDisarmed_ = false;
    return result;
}

// A read or purge that took every announced byte re-arms a wait that ignores the input.
void PosixTerminalDevice::forgetAnnounced(std::uint32_t taken) {
    std::lock_guard lock(rxMutex_);
    announced_ -= std::min(announced_, taken);
    if (announced_ == 0 && waitingDisarmed_) signalEventFd(cancelFd_);
}

WaitResult PosixTerminalDevice::pollOnce(int timeoutMs, bool watchInput, std::uint32_t& mask) {
    pollfd fds[2] = {{fd_, static_cast<short>(watchInput ? POLLIN : 0), 0}, {cancelFd_, POLLIN, 0}};
    const int ready = retryEintr([&] { return ::poll(fds, 2, timeoutMs); });
    if (ready < 0) return WaitResult::Failed;
    if (ready == 0) {
        mask = modemChanges();
        return mask ? WaitResult::Event : WaitResult::TimedOut;
    }
    if (fds[1].revents & POLLIN) {
        drainEventFd(cancelFd_);
        return maskChanged_.exchange(false) ? WaitResult::Event : WaitResult::Cancelled;
    }
    if (fds[0].revents & HangUp) {
        gone_ = true;  // unplugged: reported once, then the caller stops waiting
        return WaitResult::Failed;
    }
    if ((fds[0].revents & POLLIN) && newBytesSinceReport(mask)) return WaitResult::Event;
    return WaitResult::TimedOut;
}

void PosixTerminalDevice::cancelWait() {
    signalEventFd(cancelFd_);
}

bool PosixTerminalDevice::waitWritable(int timeoutMs) {
    if (!isOpen() || gone_) return false;
    pollfd fds[2] = {{fd_, POLLOUT, 0}, {writeCancelFd_, POLLIN, 0}};
    const int ready = retryEintr([&] { return ::poll(fds, 2, timeoutMs); });
    if (ready < 0 || (fds[0].revents & HangUp)) return false;
    if (fds[1].revents & POLLIN) drainEventFd(writeCancelFd_);
    return true;
}

void PosixTerminalDevice::cancelWriteWait() {
    signalEventFd(writeCancelFd_);
}

}  // namespace zmt::link
