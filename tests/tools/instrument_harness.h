// Runs ravelin-instrument as a child process and plays the PC on its line.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace instrument_test {

using std::chrono::milliseconds;

class Simulator {
  public:
    // Starts the simulator and reads the device path it prints first.
    explicit Simulator(const std::vector<std::string> &arguments);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    const std::string &devicePath() const { return devicePath_; }
    // The exit code, or -1 when it had not ended within `limit` (it is then killed).
    int waitForExit(milliseconds limit = milliseconds(20000));

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string devicePath_;
};

// The PC's end of the line, raw.
class PcPort {
  public:
    explicit PcPort(const std::string &path);
    explicit PcPort(int fd);
    ~PcPort();
    PcPort(const PcPort &) = delete;
    PcPort &operator=(const PcPort &) = delete;

    void send(const std::string &bytes);
    void send(uint8_t byte) { send(std::string(1, char(byte))); }
    // The next byte, or nothing after `silence`.
    std::optional<uint8_t> receive(milliseconds silence);
    void close();

  private:
    int fd_ = -1;
};

// The PC's dump reception: a partial header or block is dropped (and 0x0F sent) after
// `silenceReset` without input, as the program's silence timer does.
struct PcDump {
    std::string header;
    std::vector<uint8_t> data;
    std::vector<std::vector<uint8_t>> rejectedBlocks;
    bool complete = false;
};
// `answerDelay` holds back every answer to a block, as a slow PC would.
PcDump receiveDump(PcPort &port, milliseconds silenceReset = milliseconds(300),
                   milliseconds answerDelay = milliseconds(0));

std::string temporaryPath(const std::string &name);
void writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
std::string readFile(const std::string &path);

} // namespace instrument_test
