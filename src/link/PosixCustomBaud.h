#pragma once

namespace zmt::link {

// Sets a bit rate that has no Bxxx constant (14400, 56000, ...) through the kernel's
// termios2 interface; reads it back. Kept apart because <asm/termbits.h> clashes with
// <termios.h>.
bool SetCustomBaud(int fd, unsigned baud);

}  // namespace zmt::link
