// Line settings applied to an open terminal through the kernel's termios2 interface, which takes
// any speed (BOTHER), mark and space parity (CMSPAR) and both kinds of flow control at once.
// Plain values only, so that this header never meets the C library's <termios.h>.
#pragma once

#include <string>

namespace ravelin {

struct TtyRequest {
    unsigned speed = 19200; // bits per second
    int dataBits = 8;       // 5 to 8
    char parity = 'n';      // e, o, n, m or s
    bool twoStopBits = false;
    bool rtsCts = false;
    bool xonXoff = false;
};

// The termios2 fields this layer reads and writes.
struct TtyFlags {
    unsigned iflag = 0;
    unsigned cflag = 0;
    unsigned ispeed = 0;
    unsigned ospeed = 0;
};

// `current` with the speed, framing and flow control of `request`; other bits are kept.
TtyFlags composeTtyFlags(TtyFlags current, const TtyRequest &request);

// Empty when `actual` carries `request`, else what the device did not take, for example
// "the device does not support 7 data bits". A speed within 2% counts as taken (drivers round to
// their clock divisors). A pseudo-terminal always keeps 8 bits without parity, so those two are
// not compared there.
std::string ttyMismatch(const TtyRequest &request, const TtyFlags &actual, bool pseudoTerminal);

// Applies `request` to the open terminal `fd` and reads the result back. Empty on success, else a
// description of the failure.
std::string applyTtyRequest(int fd, const TtyRequest &request);

} // namespace ravelin
