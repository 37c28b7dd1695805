// Line rates that have no B-constant of their own (14400, 56000, 128000,
// 256000, ...) go through the kernel's termios2 interface. Its header declares
// a `struct termios` of its own that clashes with glibc's <termios.h>, so the
// two calls live alone in CustomBaud.cpp and this header includes neither.
#pragma once

namespace platform::posix {

// Sets both directions of the line to `rate` bits per second, leaving every
// other setting as it is. False with errno set when the device refuses.
bool SetCustomBaudRate(int fd, unsigned rate);

// The output rate the device actually runs at, or 0 with errno set.
unsigned ReadBaudRate(int fd);

}  // namespace platform::posix
