#include "dump_session.h"

#include "dump_block.h"
#include "protocol_bytes.h"

#include <thread>

namespace instrument {

DumpSession::DumpSession(SerialLine &line, const Options &options, std::vector<uint8_t> image)
    : line_(line), options_(options), image_(std::move(image)), random_(options.seed) {}

DumpReport DumpSession::run() {
    // The PC announces itself with ready bytes every 500 ms; whatever it sent before the header
    // must not be taken for the header's acknowledgement.
    line_.awaitAnyOf({kReady});
    line_.releaseOwnHold();
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
    // A header cut short by a silence is asked for again with 0x0F.
    while (line_.awaitAnyOf({kReady, kSendAgain}) == kSendAgain)
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

void DumpSession::sendBlock(size_t index) {
    const std::vector<uint8_t> block = buildBlock(image_, index);
    std::vector<uint8_t> firstSending = block;
    if (corruptsAtFirstSending(index)) {
        corrupt(firstSending, corruptionKind(int(report_.corruptedBlocks)));
        ++report_.corruptedBlocks;
    }
    bool complete = transmit(firstSending, pausesIn(index));
    for (;;) {
        if (complete && line_.awaitAnyOf({kReady, kSendAgain}) == kReady) {
            line_.progressed();
            return;
        }
        ++report_.blocksSentAgain;
        complete = transmit(block, false);
    }
}

bool DumpSession::transmit(const std::vector<uint8_t> &block, bool pause) {
    if (!pause) {
        line_.write(block);
        return true;
    }
    const size_t half = block.size() / 2;
    line_.write(block.data(), half);
    const auto until = Clock::now() + milliseconds(options_.silenceMs);
    bool dropped = false;
    while (Clock::now() < until) {
        const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
        if (const auto byte = line_.readByte(left); byte && *byte == kSendAgain) dropped = true;
        if (line_.hungUp()) throw LineClosed("the PC closed the line");
    }
    if (dropped) return false;
    line_.write(block.data() + half, block.size() - half);
    return true;
}

} // namespace instrument
