#include "dump_session.h"

#include "dump_block.h"
#include "protocol_bytes.h"

#include <thread>

namespace instrument {

DumpSession::DumpSession(SerialLine &line, const Options &options, std::vector<uint8_t> image)
    : line_(line), options_(options), image_(std::move(image)), random_(options.seed) {}

DumpReport DumpSession::run() {
    // The PC announces itself with ready bytes every 500 ms. An instrument started at once
    // ignores what came before; one started later finds it all queued and answers it in turn.
    line_.awaitAnyOf({kReady});
    line_.releaseOwnHold();
    if (options_.startDelayMs > 0)
        std::this_thread::sleep_for(milliseconds(options_.startDelayMs));
    else
        line_.discardInput();
    if (!options_.stray.empty()) sendStrayBytes();
    sendHeader();
    if (options_.empty) return report_;
    report_.blocks = blockCount(image_.size());
    for (size_t index = 0; index < report_.blocks; ++index)
        sendBlock(index);
    return report_;
}

void DumpSession::sendStrayBytes() {
    line_.write(options_.stray);
    // The PC drops a partial header after two seconds of silence and says so with 0x0F.
    line_.awaitAnyOf({kSendAgain});
    line_.discardInput();
}

void DumpSession::sendHeader() {
    const std::string header = options_.header  ? *options_.header
                               : options_.empty ? lengthHeader(0)
                                                : lengthHeader(image_.size());
    const std::vector<uint8_t> bytes(header.begin(), header.end());
    line_.write(bytes);
    if (options_.empty) return;
    if (stallsAfter(0, Options::StallMode::Between)) stall();
    // A header cut short by a silence is asked for again with 0x0F.
    while (!accepted())
        line_.write(bytes);
    line_.progressed();
}

bool DumpSession::corruptsAtFirstSending(size_t index) {
    const size_t number = index + 1;
    if (options_.corruptEvery > 0 && number % size_t(options_.corruptEvery) == 0) return true;
    if (options_.corruptChance > 0)
        return int(std::uniform_int_distribution<int>(0, 99)(random_)) < options_.corruptChance;
    return false;
}

bool DumpSession::pausesIn(size_t index) const {
    if (options_.silenceMs <= 0) return false;
    if (options_.silenceEvery <= 0) return index == 0;
    return (index + 1) % size_t(options_.silenceEvery) == 0;
}

bool DumpSession::stallsAfter(size_t sent, Options::StallMode mode) const {
    return options_.stallAfterBlock >= 0 && size_t(options_.stallAfterBlock) == sent &&
           options_.stallMode == mode;
}

void DumpSession::stall() {
    std::this_thread::sleep_for(milliseconds(options_.stallMs));
}

bool DumpSession::accepted() {
    return line_.awaitAnyOf({kReady, kSendAgain}) == kReady;
}

void DumpSession::sendBlock(size_t index) {
    const std::vector<uint8_t> block = buildBlock(image_, index);
    std::vector<uint8_t> firstSending = block;
    if (corruptsAtFirstSending(index)) {
        corrupt(firstSending, corruptionKind(int(report_.corruptedBlocks)));
        ++report_.corruptedBlocks;
    }
    transmitFirst(firstSending, index);
    if (stallsAfter(index + 1, Options::StallMode::Between)) stall();
    // Every byte of the PC is answered in turn: 0x0F by the block again, however many came.
    while (!accepted()) {
        ++report_.blocksSentAgain;
        line_.write(block);
    }
    line_.progressed();
}

void DumpSession::transmitFirst(const std::vector<uint8_t> &block, size_t index) {
    const bool stallsHalfWay = stallsAfter(index, Options::StallMode::Drop) ||
                               stallsAfter(index, Options::StallMode::Finish);
    if (!pausesIn(index) && !stallsHalfWay) return line_.write(block);
    // Busy half way through the block: nothing is read meanwhile.
    const size_t half = block.size() / 2;
    line_.write(block.data(), half);
    if (pausesIn(index)) std::this_thread::sleep_for(milliseconds(options_.silenceMs));
    if (stallsHalfWay) stall();
    if (stallsAfter(index, Options::StallMode::Drop)) return;
    line_.write(block.data() + half, block.size() - half);
}

} // namespace instrument
