// The kernel's arbitrary-rate interface (termios2, BOTHER) lives in headers
// that clash with the C library's <termios.h>, so it gets a file of its own.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>
#include <cstdint>

extern "C" int ioctl(int fd, unsigned long request, ...);

int VaSetCustomRate(int handle, std::int32_t rate) {
    termios2 tio{};
    if (ioctl(handle, TCGETS2, &tio) != 0) {
        return errno;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(rate);
    tio.c_ospeed = static_cast<speed_t>(rate);
    if (ioctl(handle, TCSETS2, &tio) != 0) {
        return errno;
    }
    return 0;
}
