// The instrument's side of a serial memory dump.
#pragma once

#include "instrument_options.h"
#include "serial_line.h"

#include <cstdint>
#include <random>
#include <vector>

namespace instrument {

struct DumpReport {
    size_t blocks = 0;
    size_t blocksSentAgain = 0;
    size_t corruptedBlocks = 0;
};

class DumpSession {
  public:
    DumpSession(SerialLine &line, const Options &options, std::vector<uint8_t> image);
    // Runs the dump to its end; throws LineClosed, TimeLimitReached or std::runtime_error.
    DumpReport run();

  private:
    void sendStrayBytes();
    void sendHeader();
    void sendBlock(size_t index);
    bool corruptsAtFirstSending(size_t index);
    bool pausesIn(size_t index) const;
    bool stallsAfter(size_t sent, Options::StallMode mode) const;
    // The first sending of block `index`, with the pause or stall it is to have.
    void transmitFirst(const std::vector<uint8_t> &block, size_t index);
    // Waits for the PC's answer: true for 0x06, false for 0x0F.
    bool accepted();
    void stall();

    SerialLine &line_;
    const Options &options_;
    std::vector<uint8_t> image_;
    std::mt19937 random_;
    DumpReport report_;
};

} // namespace instrument
