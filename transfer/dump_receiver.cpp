#include "dump_receiver.h"

#include "progress_text.h"

#include <cstring>
#include <limits>

namespace ravelin {

std::optional<int32_t> parseLengthHeader(const QByteArray &text) {
    const QByteArray digits = text.trimmed();
    if (digits.isEmpty()) return std::nullopt;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    }
    return int32_t(value);
}

std::optional<int32_t> roundedDumpLength(int32_t announced) {
    int64_t n = announced;
    if (n % kBlockData != 0) n += kBlockData - n % kBlockData;
    if (n > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return int32_t(n);
}

namespace {

constexpr const char *kNoAnswer = "No answer from the instrument for %1 s: check the cable and the "
                                  "instrument; STOP ends the dump";

bool isSoundBlock(const uint8_t *block) {
    uint8_t sum = 0;
    for (int i = 0; i < kBlockSize; ++i)
        sum = uint8_t(sum + block[i]);
    return block[0] == kBlockStart && sum == 0;
}

bool isSoundBlock(const QByteArray &block) {
    return block.size() == kBlockSize &&
           isSoundBlock(reinterpret_cast<const uint8_t *>(block.constData()));
}

// What the instrument sent after a silence and one 0x0F, if it can only be the block that was
// due. Its answer to the 0x0F, the block due, comes last. Before it may come: nothing; the end of
// the block the silence cut (the instrument finished it); or the block due once more (it also
// answered the PC's last 0x06, which it had not read yet). Such an earlier sending, where it
// came whole and sound, must be that same block.
std::optional<QByteArray> blockAfterSilence(const QByteArray &before, const QByteArray &after) {
    if (after.size() < kBlockSize || !isSoundBlock(after.last(kBlockSize))) return std::nullopt;
    const QByteArray block = after.last(kBlockSize);
    const QByteArray lead = after.first(after.size() - kBlockSize);
    QByteArray earlier;
    if (lead.size() == kBlockSize)
        earlier = lead;
    else if (!before.isEmpty() && before.size() + lead.size() == kBlockSize)
        earlier = before + lead;
    else if (!lead.isEmpty())
        return std::nullopt;
    if (isSoundBlock(earlier) && earlier != block) return std::nullopt;
    return block;
}

} // namespace

void DumpReceiver::begin() {
    port_.DiscardInput();
    byteCount_ = 0;
    lengthText_.clear();
    awaitingLength_ = true;
    done_ = false;
    memoryEmpty_ = false;
    step_ = Step::InStep;
    refusalHeld_ = false;
    repeatUnanswered_ = false;
    beforeSilence_.clear();
    afterSilence_.clear();
    lastBlock_.clear();
    recoveredBlock_.clear();
    noAnswerShown_ = false;
    startHintShown_ = false;
    quietTimer_.setSingleShot(true);
    quietTimer_.stop();
    sinceInput_.start();
}

void DumpReceiver::receiveDumpData() {
    while (port_.InBufferCount() > 0) {
        // A finished or failed dump takes nothing more; what waits stays queued.
        if (ended()) return;
        const uint8_t b = port_.InputByte();
        noteInput();
        if (awaitingLength_)
            takeHeaderByte(b);
        else if (step_ == Step::Recovering)
            takeRecoveryByte(b);
        else
            takeBlockByte(b);
    }
}

void DumpReceiver::noteInput() {
    silenceTimer_.stop();
    sinceInput_.restart();
    repeatUnanswered_ = false;
    if (step_ != Step::InStep) quietTimer_.start();
    if (noAnswerShown_) {
        noAnswerShown_ = false;
        sink_.setStatus(awaitingLength_ ? "Syncronizing...." : "ON-LINE...");
    }
}

void DumpReceiver::takeHeaderByte(uint8_t b) {
    readyTimer_.stop();
    block_[std::size_t(byteCount_)] = b;
    lengthText_.append(char(b));
    ++byteCount_;
    if (byteCount_ < kHeaderSize) return;

    awaitingLength_ = false;
    const std::optional<int32_t> announced = parseLengthHeader(lengthText_);
    const std::optional<int32_t> rounded = announced ? roundedDumpLength(*announced) : std::nullopt;
    if (!rounded) {
        end_.set(QString("Dump Aborted: the instrument sent \"%1\" instead of a length")
                     .arg(QString::fromLatin1(lengthText_.toPercentEncoding(" "))));
        return;
    }
    if (*rounded == 0) {
        memoryEmpty_ = true;
        return;
    }
    dumpLength_ = *rounded;
    sink_.setDumpProgress(0, "0%");
    received_ = 0;
    sink_.setStatus("ON-LINE...");
    byteCount_ = 0;
    // Ready bytes sent while the instrument was not listening yet may be queued on its side; each
    // would fetch a block before the header's answer. Those come at once: wait for the quiet.
    hold();
}

void DumpReceiver::hold() {
    step_ = Step::Holding;
    refusalHeld_ = false;
    quietTimer_.start();
}

void DumpReceiver::takeBlockByte(uint8_t b) {
    block_[std::size_t(byteCount_)] = b;
    if (++byteCount_ < kBlockSize) return;
    byteCount_ = 0;
    const bool sound = isSoundBlock(block_.data());

    if (!recoveredBlock_.isEmpty()) {
        // The block taken after a silence, sent once more and late: not the next block.
        const bool again =
            sound && std::memcmp(block_.data(), recoveredBlock_.constData(), kBlockSize) == 0;
        recoveredBlock_.clear();
        if (again)
            return untrusted("after a silence the instrument sent a block twice, late; a "
                             "repeated block cannot be told from the next one");
    }
    if (step_ == Step::Holding) return takeHeldBlock(sound);
    // The next block already arriving was sent before this one's answer could reach the
    // instrument: it is ahead of the PC. Answer once it has sent all it will.
    if (port_.InBufferCount() > 0 || !sound) {
        hold();
        return takeHeldBlock(sound);
    }
    acceptBlock(block_.data());
    if (!end_.isSet()) send(kReady);
}

void DumpReceiver::takeHeldBlock(bool sound) {
    if (refusalHeld_)
        return untrusted("a damaged block came while the instrument was sending ahead of the "
                         "PC's answers, and cannot be asked for again");
    if (!sound) {
        refusalHeld_ = true;
        return;
    }
    acceptBlock(block_.data());
    if (done_) send(kReady); // all is here: the last answer need not wait
}

void DumpReceiver::onQuiet() {
    if (ended()) return;
    if (step_ == Step::Recovering) return finishRecovery(false);
    // A block under way is waited for, or dropped by the silence.
    if (step_ != Step::Holding || awaitingLength_ || byteCount_ != 0) return;
    step_ = Step::InStep;
    if (refusalHeld_) {
        refusalHeld_ = false;
        repeatUnanswered_ = true;
        send(kRepeat);
    } else {
        send(kReady);
    }
}

void DumpReceiver::onSilence() {
    if (ended()) return;
    if (awaitingLength_) {
        if (byteCount_ == 0) {
            // Nothing yet: the ready ticks go on; there is nothing to ask for again.
            if (repeatUnanswered_) return askAgainOnce();
            if (!startHintShown_) sink_.setStatus(kStartDumpHint);
            startHintShown_ = true;
            return;
        }
        // A partial header goes, so the header sent again is read alone.
        byteCount_ = 0;
        lengthText_.clear();
        return askAgainOnce();
    }
    if (step_ == Step::Recovering) {
        if (afterSilence_.isEmpty()) return askAgainOnce();
        return finishRecovery(true);
    }
    // A held answer is what the instrument waits for.
    if (step_ == Step::Holding && byteCount_ == 0) return onQuiet();
    enterRecovery();
}

void DumpReceiver::enterRecovery() {
    beforeSilence_ = QByteArray(reinterpret_cast<const char *>(block_.data()), byteCount_);
    byteCount_ = 0;
    afterSilence_.clear();
    recoveredBlock_.clear();
    // A damaged block held for the quiet line is asked for by this 0x0F too.
    refusalHeld_ = false;
    step_ = Step::Recovering;
    askAgainOnce();
}

void DumpReceiver::askAgainOnce() {
    if (!repeatUnanswered_) {
        repeatUnanswered_ = true;
        send(kRepeat);
        return;
    }
    noAnswerShown_ = true;
    sink_.setStatus(QString(kNoAnswer).arg(sinceInput_.elapsed() / 1000));
}

void DumpReceiver::takeRecoveryByte(uint8_t b) {
    afterSilence_.append(char(b));
    if (afterSilence_.size() > 2 * kBlockSize) finishRecovery(true);
}

void DumpReceiver::finishRecovery(bool atSilence) {
    const std::optional<QByteArray> block = blockAfterSilence(beforeSilence_, afterSilence_);
    if (!block) {
        // Still arriving, perhaps; at the next silence, or past two blocks, it cannot fit.
        if (atSilence || afterSilence_.size() > 2 * kBlockSize)
            untrusted("after a silence the instrument's answer did not fit the exchange");
        return;
    }
    if (*block == lastBlock_)
        return untrusted("after a silence the instrument sent the block before again; a "
                         "repeated block cannot be told from the next one");
    step_ = Step::InStep;
    quietTimer_.stop();
    beforeSilence_.clear();
    afterSilence_.clear();
    acceptBlock(reinterpret_cast<const uint8_t *>(block->constData()));
    if (end_.isSet()) return;
    recoveredBlock_ = *block;
    send(kReady);
}

void DumpReceiver::untrusted(const QString &why) {
    quietTimer_.stop();
    end_.set("Dump Aborted: " + why);
}

void DumpReceiver::acceptBlock(const uint8_t *block) {
    lengthText_.clear();
    // Each block goes to the disk as it is accepted, so a crash loses nothing acknowledged.
    if (!file_.write(reinterpret_cast<const char *>(block + 1), kBlockData) || !file_.flush()) {
        end_.set("Dump Aborted: " + file_.errorString());
        return;
    }
    // Kept for a comparison after a silence; the copy reuses the array's room.
    lastBlock_.resize(kBlockSize);
    std::memcpy(lastBlock_.data(), block, kBlockSize);
    received_ += kBlockData;
    const double p = double(received_) * 100.0 / double(dumpLength_);
    sink_.setDumpProgress(roundedPercent(p), percentCaption(p));
    if (received_ >= dumpLength_) done_ = true;
}

} // namespace ravelin
