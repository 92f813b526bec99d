// The simulator's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace instrument {

struct Options {
    enum class Role { Dump, Upload };
    Role role = Role::Dump;
    std::string file; // the memory image (dump) or where received lines go (upload)
    std::optional<std::string> device;
    std::optional<int> baud;    // default: 19200 for a dump, 57600 for an upload
    int timeLimitSeconds = 300; // without progress
    int lingerMs = 2000;

    // dump faults
    int corruptEvery = 0;
    int silenceMs = 0;
    int silenceEvery = 0; // 0: once, in the first block
    std::vector<uint8_t> stray;
    bool empty = false;
    std::optional<std::string> header;
    // The instrument's serial input queues while it is busy, as a UART's does, and every queued
    // byte is answered in turn afterwards.
    int startDelayMs = 0; // DUMP started this long after the PC's first byte
    enum class StallMode { Between, Drop, Finish };
    int stallAfterBlock = -1; // stall once after this block (0: the header); -1: never
    int stallMs = 0;
    StallMode stallMode = StallMode::Finish;

    // upload
    int repeatEvery = 0;
    int expectedLines = 0; // 0: until the PC goes quiet or closes the line
    int idleMs = 3000;

    // random faults
    int corruptChance = 0; // percent of blocks corrupted at their first sending
    int repeatChance = 0;  // percent of lines asked for again
    uint32_t seed = 1;
};

// Reads argv into `options`. Returns the exit status when the simulator ends at once: 0 after
// --help or --version, usageStatus after a mistake (reported on standard error).
std::optional<int> parseOptions(int argc, char **argv, Options &options, int usageStatus);

} // namespace instrument
