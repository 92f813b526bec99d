// The instrument's serial dump format: a 10-character decimal length header, then 255-byte
// blocks of 0x53, 252 memory bytes and two check bytes that bring the block's byte sum to 0
// modulo 256. The last block is filled up with 0xFF, the value of erased memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace instrument {

inline constexpr int kBlockSize = 255;
inline constexpr int kBlockDataSize = 252;
inline constexpr uint8_t kBlockStart = 0x53;
inline constexpr uint8_t kBlockFiller = 0xFF;
inline constexpr int kHeaderSize = 10;

std::string lengthHeader(uint64_t length);
size_t blockCount(size_t imageSize);
std::vector<uint8_t> buildBlock(const std::vector<uint8_t> &image, size_t index);

// Ways a block goes wrong on the line, taken in turn so the PC's start-byte test and its sum
// test both get exercised.
enum class Corruption { DataByte, StartByte, CheckByte };
Corruption corruptionKind(int corruptionsSoFar);
void corrupt(std::vector<uint8_t> &block, Corruption kind);

} // namespace instrument
