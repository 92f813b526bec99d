#include "dump_block.h"

#include <algorithm>
#include <cstdio>

namespace instrument {

namespace {

uint8_t byteSum(const uint8_t *begin, const uint8_t *end) {
    unsigned sum = 0;
    for (const uint8_t *p = begin; p != end; ++p)
        sum += *p;
    return static_cast<uint8_t>(sum);
}

// Check bytes: the first is the complement of the data sum, the second finishes the job.
void setCheckBytes(std::vector<uint8_t> &block) {
    block[253] = static_cast<uint8_t>(~byteSum(block.data() + 1, block.data() + 253));
    block[254] = 0;
    block[254] = static_cast<uint8_t>(0x100 - byteSum(block.data(), block.data() + 254));
}

} // namespace

std::string lengthHeader(uint64_t length) {
    char text[32];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(length));
    return text;
}

size_t blockCount(size_t imageSize) {
    return (imageSize + kBlockDataSize - 1) / kBlockDataSize;
}

std::vector<uint8_t> buildBlock(const std::vector<uint8_t> &image, size_t index) {
    std::vector<uint8_t> block(kBlockSize, kBlockFiller);
    block[0] = kBlockStart;
    const size_t begin = std::min(index * kBlockDataSize, image.size());
    const size_t end = std::min(begin + kBlockDataSize, image.size());
    std::copy(image.begin() + long(begin), image.begin() + long(end), block.begin() + 1);
    setCheckBytes(block);
    return block;
}

Corruption corruptionKind(int corruptionsSoFar) {
    return static_cast<Corruption>(corruptionsSoFar % 3);
}

void corrupt(std::vector<uint8_t> &block, Corruption kind) {
    switch (kind) {
    case Corruption::DataByte:
        block[1 + kBlockDataSize / 2] ^= 0x5A;
        break;
    case Corruption::StartByte: // the sum still comes out right: only the start byte is wrong
        block[0] = 0x52;
        block[254] = static_cast<uint8_t>(block[254] + 1);
        break;
    case Corruption::CheckByte:
        block[253] = static_cast<uint8_t>(block[253] + 1);
        break;
    }
}

} // namespace instrument
