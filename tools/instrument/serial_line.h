// The simulator's end of the line: a fresh pseudo-terminal or a given serial device, raw, with
// every wait bounded by how long the run may go without progress.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace instrument {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The operating system refused something (open, settings, read, write).
struct SystemError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct TimeLimitReached : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// The PC closed its end of the pseudo-terminal before the protocol finished.
struct LineClosed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SerialLine {
  public:
    // A new pseudo-terminal in raw mode; the PC opens the returned device path.
    static SerialLine openPseudoTerminal();
    static SerialLine openDevice(const std::string &path, int baud);
    SerialLine(SerialLine &&other) noexcept;
    SerialLine &operator=(SerialLine &&) = delete;
    ~SerialLine();

    const std::string &devicePath() const { return devicePath_; }
    // How long the protocol may go without moving on; every wait after that throws
    // TimeLimitReached. Arms the limit from now.
    void setPatience(std::chrono::seconds patience) {
        patience_ = patience;
        progressed();
    }
    // The protocol moved on (a header or block accepted, a line received): the limit restarts.
    void progressed() { deadline_ = Clock::now() + patience_; }

    // The next byte from the PC, or nothing after `wait` of silence or when the PC has closed
    // the line (see hungUp()). Throws TimeLimitReached past the deadline.
    std::optional<uint8_t> readByte(milliseconds wait);
    // Waits (up to the deadline) for one of `wanted`, skipping every other byte.
    uint8_t awaitAnyOf(std::initializer_list<uint8_t> wanted);
    void write(const uint8_t *data, size_t size);
    void write(const std::vector<uint8_t> &bytes) { write(bytes.data(), bytes.size()); }
    void writeByte(uint8_t byte) { write(&byte, 1); }
    // Drops whatever the PC has sent and we have not read yet.
    void discardInput();

    // Once the PC has opened the line, the simulator lets go of its own hold on the terminal so
    // that the PC closing its port shows as a hang-up. No effect on a serial device.
    void releaseOwnHold();
    bool hungUp() const { return hungUp_; }
    bool isPseudoTerminal() const { return pseudoTerminal_; }
    // After the protocol: waits up to `linger` for the PC to close its end.
    void awaitHangUp(milliseconds linger);

  private:
    SerialLine(int fd, int holdFd, std::string path);
    bool fillBuffer(milliseconds wait);
    int remainingMs(milliseconds wait) const;

    int fd_ = -1;
    int holdFd_ = -1; // our own descriptor of the pseudo-terminal's device side
    bool pseudoTerminal_ = false;
    bool hungUp_ = false;
    std::string devicePath_;
    std::deque<uint8_t> pending_;
    std::chrono::seconds patience_{0};
    Clock::time_point deadline_ = Clock::time_point::max();
};

} // namespace instrument
