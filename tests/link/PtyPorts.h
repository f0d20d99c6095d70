#pragma once

// Pseudo-terminal pairs standing in for serial ports: a temporary working directory whose
// com1..comN link to the slave sides, so that a port under test never reaches /dev/ttyS*.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zmt::link::test {

// The far end of one port: what a meter would see.
class PtyPeer {
  public:
    PtyPeer() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        char name[128] = {};
        if (::ptsname_r(master_, name, sizeof name) == 0) slavePath_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPeer() { hangUp(); }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool valid() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    int fd() const { return master_; }

    bool send(const std::vector<std::uint8_t>& bytes) {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Collects up to `count` bytes, waiting at most timeoutMs in all.
    std::vector<std::uint8_t> receive(std::size_t count, int timeoutMs) {
        std::vector<std::uint8_t> got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd fds{master_, POLLIN, 0};
            if (::poll(&fds, 1, 20) <= 0) continue;
            std::uint8_t buffer[256];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }
    void hangUp() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

// Changes into a fresh directory with com1..com<count> linked to pseudo-terminals and
// changes back when it goes.
class PtyPorts {
  public:
    explicit PtyPorts(int count) : previous_(std::filesystem::current_path()) {
        char pattern[] = "/tmp/zmt-link-XXXXXX";
        directory_ = ::mkdtemp(pattern);
        std::filesystem::current_path(directory_);
        for (int i = 1; i <= count; ++i) {
            peers_.push_back(std::make_unique<PtyPeer>());
            std::filesystem::create_symlink(peers_.back()->slavePath(), "com" + std::to_string(i));
        }
    }
    ~PtyPorts() {
        std::filesystem::current_path(previous_);
        peers_.clear();
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    PtyPeer& peer(int comNumber) { return *peers_.at(comNumber - 1); }
    const std::filesystem::path& directory() const { return directory_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
    std::vector<std::unique_ptr<PtyPeer>> peers_;
};

// Runs the user-interface thread's events until `done` or the time-out; the time-out only
// bounds a failing test, it is never what a test checks.
inline bool ProcessUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    return QTest::qWaitFor(done, timeoutMs);
}

}  // namespace zmt::link::test
