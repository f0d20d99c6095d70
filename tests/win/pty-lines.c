// Modem lines for pseudo-terminals, preloaded into Wine for the Windows tests. Linux refuses
// the modem-line requests on a pseudo-terminal, and Wine's serial layer then fails
// EscapeCommFunction, GetCommModemStatus and every WaitCommEvent. This library answers
// TIOCMGET, TIOCMBIS, TIOCMBIC and TIOCMSET for pseudo-terminals from a line state of its
// own (one per pseudo-terminal: Wine reaches a port through a new descriptor at every call),
// and writes every change of DTR or RTS to the file that ZMT_PTY_LINE_LOG names:
// "<milliseconds> DTR=<0|1> RTS=<0|1>", and each write to a pseudo-terminal: "<ms> TX <n>".
// It also hides the machine's own serial devices from Wine's search for ports, so that
// the tests reach only the ports the registry maps.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

// Unix98 pseudo-terminal slaves have majors 136 to 143: 2048 of them.
enum { kFirstMajor = 136, kLastMajor = 143, kPtys = 8 * 256 };

static int lines[kPtys];
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

// The pseudo-terminal's index, or -1 for any other file.
static int pty_index(int fd) {
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return -1;
    const unsigned int m = major(info.st_rdev);
    if (m < kFirstMajor || m > kLastMajor) return -1;
    return (int)((m - kFirstMajor) * 256 + minor(info.st_rdev) % 256);
}

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void log_line(const char* text);

static void log_change(int before, int after) {
    const int mask = TIOCM_DTR | TIOCM_RTS;
    if ((before & mask) == (after & mask)) return;
    char line[96];
    snprintf(line, sizeof line, "%.1f DTR=%d RTS=%d\n", now_ms(), (after & TIOCM_DTR) ? 1 : 0,
             (after & TIOCM_RTS) ? 1 : 0);
    log_line(line);
}

static int emulate(int pty, unsigned long request, int* bits) {
    pthread_mutex_lock(&lock);
    const int before = lines[pty];
    switch (request) {
        case TIOCMGET:
            *bits = before | TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
            break;
        case TIOCMBIS:
            lines[pty] |= *bits;
            break;
        case TIOCMBIC:
            lines[pty] &= ~*bits;
            break;
        case TIOCMSET:
            lines[pty] = *bits;
            break;
    }
    log_change(before, lines[pty]);
    pthread_mutex_unlock(&lock);
    return 0;
}

int ioctl(int fd, unsigned long request, ...) {
    static int (*real_ioctl)(int, unsigned long, ...);
    if (!real_ioctl) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    const int modem = request == TIOCMGET || request == TIOCMBIS || request == TIOCMBIC ||
                      request == TIOCMSET;
    const int pty = modem && argument ? pty_index(fd) : -1;
    if (pty >= 0) return emulate(pty, request, (int*)argument);
    return real_ioctl(fd, request, argument);
}

static void log_line(const char* text) {
    const char* path = getenv("ZMT_PTY_LINE_LOG");
    if (!path || !*path) return;
    const int out = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (out < 0) return;
    (void)!write(out, text, strlen(text));
    close(out);
}

ssize_t write(int fd, const void* data, size_t count) {
    static ssize_t (*real_write)(int, const void*, size_t);
    if (!real_write) real_write = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    const ssize_t written = real_write(fd, data, count);
    if (written > 0 && getenv("ZMT_PTY_LINE_LOG") && pty_index(fd) >= 0) {
        char line[64];
        snprintf(line, sizeof line, "%.1f TX %zd\n", now_ms(), written);
        log_line(line);
    }
    return written;
}

// Wine's mount manager lists /dev/ttyS<n>, /dev/ttyUSB<n> and /dev/ttyACM<n> by access().
int access(const char* path, int mode) {
    static int (*real_access)(const char*, int);
    if (!real_access) real_access = (int (*)(const char*, int))dlsym(RTLD_NEXT, "access");
    if ((!strncmp(path, "/dev/ttyS", 9) || !strncmp(path, "/dev/ttyUSB", 11) ||
                 !strncmp(path, "/dev/ttyACM", 11))) {
        errno = ENOENT;
        return -1;
    }
    return real_access(path, mode);
}
