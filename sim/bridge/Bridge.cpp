#include "sim/bridge/Bridge.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

namespace zmt::sim::bridge {

namespace {

constexpr const char* Mark = "@@hw ";

// Takes the complete lines out of `text`, without their line ends.
std::vector<std::string> TakeLines(std::string& text) {
    std::vector<std::string> lines;
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n')) {
        std::string line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        text.erase(0, end + 1);
    }
    return lines;
}

// Reads what is there; false once the other end has gone.
bool ReadInto(int fd, std::string& text) {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n > 0) text.append(buffer.data(), static_cast<std::size_t>(n));
    return n > 0 || (n < 0 && (errno == EAGAIN || errno == EINTR));
}

}  // namespace

Bridge::Bridge(const std::string& dir, std::ostream& timeline, std::ostream& console)
    : dir_(dir),
      timeline_(timeline),
      console_(console),
      ftdi_("ftdi", [this](const Record& r) { write(r); }),
      uart_("uart", [this](const Record& r) { write(r); }),
      consoleLink_("console", [](const Record&) {}) {}

Bridge::~Bridge() {
    if (trace_ >= 0) ::close(trace_);
}

bool Bridge::open(std::string& error) {
    if (!ftdi_.listen(dir_ + "/ftdi.sock", error) || !uart_.listen(dir_ + "/uart.sock", error) ||
        !consoleLink_.listen(dir_ + "/console.sock", error))
        return false;
    const std::string fifo = dir_ + "/trace.fifo";
    ::unlink(fifo.c_str());
    if (::mkfifo(fifo.c_str(), 0600) != 0) return error = fifo + ": " + std::strerror(errno), false;
    // Open for reading without a writer yet; QEMU opens it for writing when it starts.
    trace_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (trace_ < 0) return error = fifo + ": " + std::strerror(errno), false;
    return true;
}

void Bridge::run(int stopFd) {
    for (;;) {
        std::vector<pollfd> fds{{stopFd, POLLIN, 0}, {trace_, POLLIN, 0}};
        std::vector<MeterLink*> owners{nullptr, nullptr};
        for (MeterLink* link : {&ftdi_, &uart_, &consoleLink_}) {
            const int fd = link->connectionFd() >= 0 ? link->connectionFd() : link->listenFd();
            fds.push_back({fd, POLLIN, 0});
            owners.push_back(link);
        }
        const int ready = ::poll(fds.data(), fds.size(), pollTimeoutMs(BridgeNowMs()));
        if (ready < 0 && errno != EINTR) return;
        const double now = BridgeNowMs();
        if (fds[0].revents) return;
        if (fds[1].revents & POLLIN) takeTrace(now);
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            MeterLink& link = *owners[i];
            if (fds[i].fd == link.listenFd()) {
                link.accept();
                if (&link == &consoleLink_) consoleSeen_ = true;
            } else if (&link == &consoleLink_) {
                takeConsole(now);
            } else {
                link.takeGuestBytes(now);
            }
        }
        ftdi_.pump(BridgeNowMs());
        uart_.pump(BridgeNowMs());
        if (consoleSeen_ && consoleLink_.connectionFd() < 0) return;
    }
}

void Bridge::write(const Record& record) {
    timeline_ << FormatRecord(record) << '\n';
}

void Bridge::takeTrace(double nowMs) {
    if (!ReadInto(trace_, traceText_)) {
        // QEMU has closed the log; reopening waits for no one.
        ::close(trace_);
        trace_ = ::open((dir_ + "/trace.fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return;
    }
    for (const std::string& line : TakeLines(traceText_))
        if (const auto event = ParseTraceLine(line))
            linkOf(event->device).applyLines(*event, nowMs);
}

void Bridge::takeConsole(double nowMs) {
    const int fd = consoleLink_.connectionFd();
    if (!ReadInto(fd, consoleText_)) {
        consoleLink_.disconnect();  // the loop ends with the lost console
        return;
    }
    for (const std::string& line : TakeLines(consoleText_)) consoleLine(line, nowMs);
}

// The guest marks its cases on the console: "@@hw begin NAME", "@@hw end NAME CODE",
// "@@hw unplug-after BYTES" (the adapter is pulled during the next case).
void Bridge::consoleLine(const std::string& line, double nowMs) {
    console_ << line << '\n' << std::flush;
    if (line.rfind(Mark, 0) != 0) return;
    std::istringstream words(line.substr(std::strlen(Mark)));
    std::string kind, name;
    words >> kind;
    if (kind == "begin" && words >> name) {
        write({nowMs, "console", "begin", {}, name});
    } else if (kind == "end" && words >> name) {
        long code = -1;
        words >> code;
        write({nowMs, "console", "end", {code}, name});
        timeline_.flush();
    } else if (kind == "unplug-after") {
        int bytes = 0;
        if (words >> bytes) ftdi_.unplugAfter(bytes);
    }
}

int Bridge::pollTimeoutMs(double nowMs) const {
    std::optional<double> next = ftdi_.nextEventMs();
    const auto uart = uart_.nextEventMs();
    if (uart && (!next || *uart < *next)) next = uart;
    if (!next) return 1000;
    return static_cast<int>(std::max(0.0, std::ceil(*next - nowMs)));
}

}  // namespace zmt::sim::bridge
