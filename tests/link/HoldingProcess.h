#pragma once

// A process of its own that holds a device open, as a terminal program or a daemon would.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace zmt::link::test {

// A child process that opens `device` (and locks it when asked), then runs as `name`, a
// name longer than the kernel's 15 characters of comm. It is there once constructed.
class HoldingProcess {
  public:
    HoldingProcess(const std::string& device, const std::string& name, bool lock) {
        int ready[2] = {-1, -1};
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
            if (fd < 0 || (lock && ::flock(fd, LOCK_EX | LOCK_NB) != 0)) ::_exit(1);
            ::execl("/bin/sleep", name.c_str(), "600", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        // The write end closes with the exec (or the exit): by then the device is held.
        char byte = 0;
        while (::read(ready[0], &byte, 1) > 0) {
        }
        ::close(ready[0]);
    }
    ~HoldingProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

  private:
    pid_t pid_ = -1;
};

}  // namespace zmt::link::test
