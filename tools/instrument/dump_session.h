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
    // Sends the block once; false when the PC dropped it half way (0x0F during a silence).
    bool transmit(const std::vector<uint8_t> &block, bool pause);

    SerialLine &line_;
    const Options &options_;
    std::vector<uint8_t> image_;
    std::mt19937 random_;
    DumpReport report_;
};

} // namespace instrument
