// Kept apart from everything else: <asm/termbits.h> (termios2) clashes with <termios.h>.
#include "tty_line.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace ravelin {

namespace {

struct StandardSpeed {
    unsigned speed;
    unsigned code;
};

// Speeds with a classic Bxxx code go through it; drivers have handled those longest.
constexpr StandardSpeed kStandardSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

unsigned speedCode(unsigned speed) {
    for (const StandardSpeed &s : kStandardSpeeds)
        if (s.speed == speed) return s.code;
    return BOTHER;
}

unsigned sizeBits(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

unsigned parityBits(char parity) {
    switch (parity) {
    case 'e':
        return PARENB;
    case 'o':
        return PARENB | PARODD;
    case 'm':
        return PARENB | CMSPAR | PARODD;
    case 's':
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

const char *parityName(char parity) {
    switch (parity) {
    case 'e':
        return "even";
    case 'o':
        return "odd";
    case 'm':
        return "mark";
    case 's':
        return "space";
    default:
        return "no";
    }
}

bool speedClose(unsigned wanted, unsigned actual) {
    const unsigned long long diff = wanted > actual ? wanted - actual : actual - wanted;
    return diff * 50 <= wanted; // within 2%
}

bool isPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned majorNumber = major(st.st_rdev);
    return majorNumber >= 136 && majorNumber <= 143; // UNIX98 pty slaves
}

TtyFlags fromKernel(const termios2 &t) {
    return {t.c_iflag, t.c_cflag, t.c_ispeed, t.c_ospeed};
}

} // namespace

TtyFlags composeTtyFlags(TtyFlags current, const TtyRequest &request) {
    TtyFlags f = current;
    f.cflag &= ~(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    f.cflag |= speedCode(request.speed) | sizeBits(request.dataBits) | parityBits(request.parity);
    f.cflag |= CREAD | CLOCAL;
    if (request.twoStopBits) f.cflag |= CSTOPB;
    if (request.rtsCts) f.cflag |= CRTSCTS;
    f.iflag &= ~(IXON | IXOFF | IXANY);
    if (request.xonXoff) f.iflag |= IXON | IXOFF;
    f.ispeed = request.speed;
    f.ospeed = request.speed;
    return f;
}

std::string ttyMismatch(const TtyRequest &request, const TtyFlags &actual, bool pseudoTerminal) {
    const unsigned inputSpeed = actual.ispeed ? actual.ispeed : actual.ospeed;
    if (!speedClose(request.speed, actual.ospeed) || !speedClose(request.speed, inputSpeed))
        return "the device does not support " + std::to_string(request.speed) + " bit/s (it set " +
               std::to_string(actual.ospeed) + ")";
    if (!pseudoTerminal && (actual.cflag & CSIZE) != sizeBits(request.dataBits))
        return "the device does not support " + std::to_string(request.dataBits) + " data bits";
    const unsigned parityMask = pseudoTerminal ? PARODD | CMSPAR : PARENB | PARODD | CMSPAR;
    if ((actual.cflag & parityMask) != (parityBits(request.parity) & parityMask))
        return std::string("the device does not support ") + parityName(request.parity) + " parity";
    if (bool(actual.cflag & CSTOPB) != request.twoStopBits)
        return std::string("the device does not support ") +
               (request.twoStopBits ? "2 stop bits" : "1 stop bit");
    if (bool(actual.cflag & CRTSCTS) != request.rtsCts)
        return "the device does not support RTS/CTS flow control";
    if ((actual.iflag & (IXON | IXOFF)) != (request.xonXoff ? IXON | IXOFF : 0u))
        return "the device does not support Xon/Xoff flow control";
    return {};
}

std::string applyTtyRequest(int fd, const TtyRequest &request) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return std::string("cannot read the line settings: ") + std::strerror(errno);
    const TtyFlags wanted = composeTtyFlags(fromKernel(t), request);
    t.c_iflag = wanted.iflag;
    t.c_cflag = wanted.cflag;
    t.c_ispeed = wanted.ispeed;
    t.c_ospeed = wanted.ospeed;
    if (ioctl(fd, TCSETS2, &t) != 0)
        return "the device refused " + std::to_string(request.speed) + " bit/s with these " +
               "settings: " + std::strerror(errno);
    termios2 back{};
    if (ioctl(fd, TCGETS2, &back) != 0)
        return std::string("cannot read the line settings back: ") + std::strerror(errno);
    return ttyMismatch(request, fromKernel(back), isPseudoTerminal(fd));
}

} // namespace ravelin
