#include "link/PosixCustomBaud.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace zmt::link {
namespace {

int ioctlRetry(int fd, unsigned long request, termios2* settings) {
    int result;
    do {
        result = ioctl(fd, request, settings);
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

bool SetCustomBaud(int fd, unsigned baud) {
    if (baud == 0) return false;  // B0 would hang up the line and cut the meter's supply
    termios2 settings{};
    if (ioctlRetry(fd, TCGETS2, &settings) < 0) return false;
    settings.c_cflag &= ~CBAUD;
    settings.c_cflag |= BOTHER;
    settings.c_ispeed = baud;
    settings.c_ospeed = baud;
    if (ioctlRetry(fd, TCSETS2, &settings) < 0) return false;
    termios2 applied{};
    if (ioctlRetry(fd, TCGETS2, &applied) < 0) return false;
    // Hardware rounds to its divisor; accept within 2 percent.
    const unsigned tolerance = baud / 50 + 1;
    return applied.c_ospeed + tolerance >= baud && applied.c_ospeed <= baud + tolerance;
}

}  // namespace zmt::link
