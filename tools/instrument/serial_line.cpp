#include "serial_line.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace instrument {

namespace {

[[noreturn]] void fail(const std::string &what) {
    throw SystemError(what + ": " + std::strerror(errno));
}

void makeRaw(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) fail("cannot read the terminal settings");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) fail("cannot set the terminal to raw mode");
}

speed_t speedConstant(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        throw SystemError("unsupported speed " + std::to_string(baud));
    }
}

} // namespace

SerialLine::SerialLine(int fd, int holdFd, std::string path)
    : fd_(fd), holdFd_(holdFd), pseudoTerminal_(holdFd >= 0), devicePath_(std::move(path)) {}

SerialLine::SerialLine(SerialLine &&other) noexcept
    : fd_(std::exchange(other.fd_, -1)), holdFd_(std::exchange(other.holdFd_, -1)),
      pseudoTerminal_(other.pseudoTerminal_), hungUp_(other.hungUp_),
      devicePath_(std::move(other.devicePath_)), pending_(std::move(other.pending_)),
      deadline_(other.deadline_) {}

SerialLine::~SerialLine() {
    if (holdFd_ >= 0) ::close(holdFd_);
    if (fd_ >= 0) ::close(fd_);
}

SerialLine SerialLine::openPseudoTerminal() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) fail("cannot open a pseudo-terminal");
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        ::close(master);
        fail("cannot unlock the pseudo-terminal");
    }
    const char *name = ptsname(master);
    std::string path = name ? name : "";
    // Holding the device side open keeps the terminal alive (and its settings) until the PC
    // opens it; without it, reads on our side fail before the PC arrives.
    const int hold = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (hold < 0) {
        ::close(master);
        fail("cannot open " + path);
    }
    SerialLine line(master, hold, path);
    makeRaw(hold, B115200);
    makeRaw(master, B115200);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return line;
}

SerialLine SerialLine::openDevice(const std::string &path, int baud) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) fail("cannot open " + path);
    SerialLine line(fd, -1, path);
    makeRaw(fd, speedConstant(baud));
    return line;
}

int SerialLine::remainingMs(milliseconds wait) const {
    const auto now = Clock::now();
    if (now >= deadline_) throw TimeLimitReached("no progress within the time limit");
    const auto untilDeadline =
        std::chrono::duration_cast<milliseconds>(deadline_ - now) + milliseconds(1);
    return static_cast<int>(std::min<int64_t>(std::min(wait, untilDeadline).count(), INT32_MAX));
}

bool SerialLine::fillBuffer(milliseconds wait) {
    const auto until = Clock::now() + wait;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(std::max(left, milliseconds(0))));
        if (ready < 0) {
            if (errno == EINTR) continue;
            fail("cannot wait for input");
        }
        if (ready == 0) {
            if (Clock::now() >= until) return false;
            continue;
        }
        uint8_t chunk[4096];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            pending_.insert(pending_.end(), chunk, chunk + got);
            return true;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        // EIO (or end of file): nobody holds the device side any more.
        hungUp_ = true;
        return false;
    }
}

std::optional<uint8_t> SerialLine::readByte(milliseconds wait) {
    if (pending_.empty() && (hungUp_ || !fillBuffer(wait))) return std::nullopt;
    const uint8_t byte = pending_.front();
    pending_.pop_front();
    return byte;
}

uint8_t SerialLine::awaitAnyOf(std::initializer_list<uint8_t> wanted) {
    for (;;) {
        const auto byte = readByte(milliseconds(1000));
        if (hungUp_) throw LineClosed("the PC closed the line");
        if (byte && std::find(wanted.begin(), wanted.end(), *byte) != wanted.end()) return *byte;
    }
}

void SerialLine::write(const uint8_t *data, size_t size) {
    while (size > 0) {
        pollfd p{fd_, POLLOUT, 0};
        const int ready = ::poll(&p, 1, remainingMs(milliseconds(1000)));
        if (ready < 0 && errno != EINTR) fail("cannot wait to write");
        if (ready <= 0) continue;
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            if (errno == EIO) {
                hungUp_ = true;
                throw LineClosed("the PC closed the line");
            }
            fail("cannot write");
        }
        data += put;
        size -= size_t(put);
    }
}

void SerialLine::discardInput() {
    pending_.clear();
    tcflush(fd_, TCIFLUSH);
    uint8_t chunk[4096];
    while (::read(fd_, chunk, sizeof chunk) > 0) {
    }
}

void SerialLine::releaseOwnHold() {
    if (holdFd_ >= 0) {
        ::close(holdFd_);
        holdFd_ = -1;
    }
}

void SerialLine::awaitHangUp(milliseconds linger) {
    if (!pseudoTerminal_) return;
    releaseOwnHold();
    const auto until = Clock::now() + linger;
    try {
        while (!hungUp_ && Clock::now() < until) {
            // Late bytes (a timer's ready byte) do not matter any more.
            readByte(std::chrono::duration_cast<milliseconds>(until - Clock::now()));
        }
    } catch (const TimeLimitReached &) {
        // The protocol has finished; running out of time while lingering is no failure.
    }
}

} // namespace instrument
