// Holds a pseudo-terminal for the Windows tests, so that a Wine port mapped to it exists:
// prints the far end's name and waits until killed. With --exclusive it also opens the far
// end itself in exclusive mode, as a program that holds the port does: every other open
// then fails with EBUSY (for a process without CAP_SYS_ADMIN).
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const int exclusive = argc > 1 && strcmp(argv[1], "--exclusive") == 0;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        perror("pty-hold");
        return 1;
    }
    const char* far = ptsname(master);
    if (exclusive) {
        const int slave = open(far, O_RDWR | O_NOCTTY);
        if (slave < 0 || ioctl(slave, TIOCEXCL) != 0) {
            perror("pty-hold");
            return 1;
        }
    }
    printf("%s\n", far);
    fflush(stdout);
    for (;;) pause();
}
