// The single bytes and sizes of the serial dump and upload exchanges.
#pragma once

#include <cstdint>

namespace ravelin {

inline constexpr uint8_t kReady = 0x06;    // PC: ready / header or block accepted
inline constexpr uint8_t kRepeat = 0x0F;   // both ways: send that again
inline constexpr uint8_t kNextLine = 0x11; // instrument: send the next system line
inline constexpr uint8_t kBlockStart = 0x53;
inline constexpr int kBlockSize = 255;
inline constexpr int kBlockData = 252;
inline constexpr int kHeaderSize = 10;

} // namespace ravelin
