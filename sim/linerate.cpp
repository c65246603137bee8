// Apart from <termios.h>: the kernel's termios2 cannot be declared beside it.
#include "sim/linerate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace zelcor::sim {

int terminalRate(int fd) {
    termios2 settings{};
    if (::ioctl(fd, TCGETS2, &settings) != 0) return 0;
    return int(settings.c_ospeed);
}

} // namespace zelcor::sim
