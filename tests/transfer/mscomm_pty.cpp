// Uses termios2 from <asm/termbits.h>, so <termios.h> (and <pty.h>) must stay out of this file.
#include "mscomm_pty.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

PtyPair::PtyPair() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    path = QString::fromLocal8Bit(ptsname(master));
    slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    // Raw on both sides: no echo, no line editing, all 256 byte values pass.
    for (int fd : {master, slave}) {
        termios2 t{};
        if (fd < 0 || ioctl(fd, TCGETS2, &t) != 0) continue;
        t.c_iflag = 0;
        t.c_oflag = 0;
        t.c_lflag = 0;
        ioctl(fd, TCSETS2, &t);
    }
}

PtyPair::~PtyPair() {
    closeMaster();
    if (slave >= 0) close(slave);
}

bool PtyPair::send(const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) return false;
        if (n > 0) done += n;
    }
    return true;
}

QByteArray PtyPair::receive(int count, int msecs) {
    QByteArray got;
    pollfd p{master, POLLIN, 0};
    while (got.size() < count && poll(&p, 1, msecs) > 0) {
        char buffer[256];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, n);
    }
    return got;
}

int PtyPair::bytesWaitingForComponent() const {
    int count = -1;
    return ioctl(slave, FIONREAD, &count) == 0 ? count : -1;
}

void PtyPair::closeMaster() {
    if (master >= 0) close(master);
    master = -1;
}

TtyState PtyPair::slaveState() const {
    termios2 t{};
    ioctl(slave, TCGETS2, &t);
    TtyState s;
    s.ispeed = t.c_ispeed;
    s.ospeed = t.c_ospeed;
    s.customSpeed = (t.c_cflag & CBAUD) == BOTHER;
    s.parityOdd = t.c_cflag & PARODD;
    s.markSpace = t.c_cflag & CMSPAR;
    s.twoStopBits = t.c_cflag & CSTOPB;
    s.rtsCts = t.c_cflag & CRTSCTS;
    s.xon = t.c_iflag & IXON;
    s.xoff = t.c_iflag & IXOFF;
    return s;
}
