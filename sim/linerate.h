#pragma once
// The line rate a client set on a pseudo-terminal. On Linux the master side reads the
// slave's settings, rates outside the classic table included (termios2).

namespace zelcor::sim {

// The output rate (baud) set on the terminal behind `fd`; 0 when it cannot be read.
int terminalRate(int fd);

} // namespace zelcor::sim
