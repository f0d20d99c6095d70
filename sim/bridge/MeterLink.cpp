#include "sim/bridge/MeterLink.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace zmt::sim::bridge {

namespace {

const SimTime BridgeStart = SimClock::now();

}  // namespace

double BridgeNowMs() {
    return std::chrono::duration<double, std::milli>(SimClock::now() - BridgeStart).count();
}

SimTime MeterLink::At(double ms) {
    return BridgeStart +
           std::chrono::duration_cast<SimDuration>(std::chrono::duration<double, std::milli>(ms));
}

MeterLink::~MeterLink() {
    if (connection_ >= 0) ::close(connection_);
    if (listen_ >= 0) ::close(listen_);
}

bool MeterLink::listen(const std::string& path, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return error = path + ": path too long", false;
    std::strcpy(address.sun_path, path.c_str());
    ::unlink(path.c_str());
    listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_ < 0 ||
        ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_, 1) != 0)
        return error = path + ": " + std::strerror(errno), false;
    return true;
}

void MeterLink::accept() {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    disconnect();
    connection_ = fd;
}

void MeterLink::disconnect() {
    if (connection_ >= 0) ::close(connection_);
    connection_ = -1;
}

void MeterLink::takeGuestBytes(double nowMs) {
    std::array<std::uint8_t, 256> buffer{};
    const ssize_t n = ::read(connection_, buffer.data(), buffer.size());
    if (n <= 0) {
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) disconnect();
        return;
    }
    pump(nowMs);
    for (ssize_t i = 0; i < n && connection_ >= 0; ++i) {
        record(nowMs, "sent", {buffer[static_cast<std::size_t>(i)]});
        line_.hostWrite(&buffer[static_cast<std::size_t>(i)], 1, At(nowMs));
        if (unplugAfter_ && --*unplugAfter_ <= 0) unplug(nowMs);
    }
}

void MeterLink::applyLines(const TraceEvent& event, double nowMs) {
    if (unplugged_) return;
    pump(nowMs);
    const bool dtr = event.dtr.value_or(line_.dtr());
    const bool rts = event.rts.value_or(line_.rts());
    if (event.reset) record(nowMs, "reset");
    if (dtr == line_.dtr() && rts == line_.rts()) return;
    line_.setRts(rts, At(nowMs));
    line_.setDtr(dtr, At(nowMs));
    record(nowMs, "lines", {dtr, rts});
}

void MeterLink::pump(double nowMs) {
    line_.advance(At(nowMs));
    std::array<std::uint8_t, 256> buffer{};
    for (int n = line_.takeReceived(buffer.data(), buffer.size()); n > 0;
         n = line_.takeReceived(buffer.data(), buffer.size())) {
        for (int i = 0; i < n; ++i)
            record(nowMs, "answered", {buffer[static_cast<std::size_t>(i)]});
        // A guest that reads nothing overruns like a real port: the rest is lost.
        if (connection_ >= 0)
            (void)::send(connection_, buffer.data(), static_cast<std::size_t>(n), MSG_NOSIGNAL);
    }
    if (line_.imagesStored() != imagesRecorded_) {
        imagesRecorded_ = line_.imagesStored();
        const ImageWords& image = line_.storedImage();
        record(nowMs, "stored", std::vector<long>(image.begin(), image.end()));
    }
}

std::optional<double> MeterLink::nextEventMs() const {
    const auto next = line_.nextEventAt();
    if (!next) return std::nullopt;
    return std::chrono::duration<double, std::milli>(*next - BridgeStart).count();
}

// Closing the connection detaches QEMU's emulated USB device from the guest.
void MeterLink::unplug(double nowMs) {
    unplugAfter_.reset();
    disconnect();
    // The adapter's lines are gone with it: whatever the guest drives, nothing reaches the
    // meter any more.
    const bool wasDriven = line_.dtr() || line_.rts();
    line_.release(At(nowMs));
    record(nowMs, "unplug");
    if (wasDriven) record(nowMs, "lines", {false, false});
    unplugged_ = true;
}

void MeterLink::record(double ms, const std::string& kind, std::vector<long> values) {
    record_({ms, name_, kind, std::move(values), {}});
}

}  // namespace zmt::sim::bridge
