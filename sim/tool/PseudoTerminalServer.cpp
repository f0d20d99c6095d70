#include "sim/tool/PseudoTerminalServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace zmt::sim {

namespace {

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Without raw mode the line discipline would echo the meter's answers back to it.
bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

PseudoTerminalServer::~PseudoTerminalServer() {
    removeLink();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PseudoTerminalServer::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) return error = SystemError("posix_openpt"), false;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return error = SystemError("grantpt/unlockpt"), false;
    std::array<char, PATH_MAX> name{};
    if (ptsname_r(master_, name.data(), name.size()) != 0)
        return error = SystemError("ptsname_r"), false;
    slavePath_ = name.data();
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0) return error = SystemError("open slave"), false;
    if (!MakeRaw(slave_)) return error = SystemError("tcsetattr"), false;
    return true;
}

bool PseudoTerminalServer::createLink(const std::string& linkPath, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(linkPath, ec))) fs::remove(linkPath, ec);
    fs::create_symlink(slavePath_, linkPath, ec);
    if (ec) return error = "cannot create " + linkPath + ": " + ec.message(), false;
    linkPath_ = linkPath;
    return true;
}

void PseudoTerminalServer::removeLink() {
    if (linkPath_.empty()) return;
    std::error_code ec;
    if (std::filesystem::read_symlink(linkPath_, ec) == slavePath_)
        std::filesystem::remove(linkPath_, ec);
    linkPath_.clear();
}

void PseudoTerminalServer::serve(const Control& control, const Report& onReady,
                                 const Report& report) {
    line_.setDtr(true, SimClock::now());
    bool announced = false;
    int inputFd = control.inputFd;
    int imagesReported = line_.imagesStored();
    for (;;) {
        const SimTime now = SimClock::now();
        line_.advance(now);
        forwardAnswers();
        if (!announced && line_.ready(now)) {
            announced = true;
            onReady(slavePath_);
        }
        if (line_.imagesStored() != imagesReported) {
            imagesReported = line_.imagesStored();
            report(DescribeImage(line_.storedImage()));
        }
        // A descriptor of -1 is left out by poll.
        std::array<pollfd, 4> fds{{{master_, POLLIN, 0},
                                   {control.stopFd, POLLIN, 0},
                                   {control.plugSignalFd, POLLIN, 0},
                                   {inputFd, POLLIN, 0}}};
        if (poll(fds.data(), fds.size(), pollTimeoutMs(now, !announced)) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return;
        if (fds[0].revents & POLLIN) takeHostBytes(SimClock::now());
        if (fds[2].revents & POLLIN) takeSignal(control.plugSignalFd, report);
        if (fds[3].revents != 0 && !takeInput(inputFd, report)) inputFd = -1;
    }
}

void PseudoTerminalServer::takeSignal(int fd, const Report& report) {
    signalfd_siginfo info{};
    if (::read(fd, &info, sizeof info) == sizeof info) plug(!line_.meterPlugged(), report);
}

bool PseudoTerminalServer::takeInput(int fd, const Report& report) {
    std::array<char, 256> buffer{};
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n <= 0) return n < 0 && errno == EINTR;
    input_.append(buffer.data(), static_cast<std::size_t>(n));
    for (std::size_t end = input_.find('\n'); end != std::string::npos; end = input_.find('\n')) {
        std::string command = input_.substr(0, end);
        input_.erase(0, end + 1);
        std::erase_if(command, [](unsigned char c) { return std::isspace(c); });
        if (command == "unplug")
            plug(false, report);
        else if (command == "plug")
            plug(true, report);
        else if (!command.empty())
            report("unknown command \"" + command + "\": unplug or plug");
    }
    // A line that never ends is not kept without bound.
    if (input_.size() > 1024) input_.clear();
    return true;
}

void PseudoTerminalServer::plug(bool plugged, const Report& report) {
    line_.setMeterPlugged(plugged, SimClock::now());
    report(plugged ? "meter plugged into the interface" : "meter taken off the interface");
}

void PseudoTerminalServer::forwardAnswers() {
    std::array<std::uint8_t, 256> buffer{};
    for (int n = line_.takeReceived(buffer.data(), buffer.size()); n > 0;
         n = line_.takeReceived(buffer.data(), buffer.size())) {
        // A host that reads nothing overruns its input like a real port: the rest is lost.
        if (::write(master_, buffer.data(), static_cast<std::size_t>(n)) < 0) return;
    }
}

void PseudoTerminalServer::takeHostBytes(SimTime now) {
    std::array<std::uint8_t, 256> buffer{};
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    if (n > 0) line_.hostWrite(buffer.data(), static_cast<int>(n), now);
}

int PseudoTerminalServer::pollTimeoutMs(SimTime now, bool waitingForReady) const {
    std::optional<SimTime> next = line_.nextEventAt();
    if (waitingForReady) {
        if (!next || line_.readyAt() < *next) next = line_.readyAt();
    }
    if (!next) return -1;
    const auto wait = std::chrono::ceil<milliseconds>(*next - now).count();
    return static_cast<int>(std::max<long long>(wait, 0));
}

std::string DescribeImage(const ImageWords& image) {
    std::ostringstream text;
    text << "stored image:";
    for (const auto w : image) text << ' ' << w;
    return text.str();
}

}  // namespace zmt::sim
