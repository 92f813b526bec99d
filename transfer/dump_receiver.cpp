#include "dump_receiver.h"

#include "progress_text.h"

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

void DumpReceiver::begin() {
    s_.UploadMode = false;
    port_.DiscardInput();
    s_.ByteCount = 0;
    s_.LengthText.clear();
    s_.AwaitingLength = true;
    s_.TransferDone = false;
    s_.MemoryEmpty = false;
    s_.FailureText.clear();
}

void DumpReceiver::receiveDumpData() {
    while (port_.InBufferCount() > 0) {
        // A finished or failed dump takes nothing more; what waits stays queued.
        if (ended()) return;
        const uint8_t b = port_.InputByte();
        silenceTimer_.stop();
        if (s_.AwaitingLength)
            takeHeaderByte(b);
        else
            takeBlockByte(b);
    }
}

void DumpReceiver::takeHeaderByte(uint8_t b) {
    readyTimer_.stop();
    s_.BlockBuffer[std::size_t(s_.ByteCount)] = b;
    s_.LengthText.append(char(b));
    ++s_.ByteCount;
    if (s_.ByteCount < kHeaderSize) return;

    s_.AwaitingLength = false;
    const std::optional<int32_t> announced = parseLengthHeader(s_.LengthText);
    const std::optional<int32_t> rounded = announced ? roundedDumpLength(*announced) : std::nullopt;
    if (!rounded) {
        s_.FailureText = QString("Dump Aborted: the instrument sent \"%1\" instead of a length")
                             .arg(QString::fromLatin1(s_.LengthText.toPercentEncoding(" ")));
        return;
    }
    if (*rounded == 0) {
        s_.MemoryEmpty = true;
        return;
    }
    s_.DumpLength = *rounded;
    sink_.setDumpProgress(0, "0%");
    s_.ReceivedTotal = 0;
    sink_.setStatus("ON-LINE...");
    send(kReady);
    s_.ByteCount = 0;
}

void DumpReceiver::takeBlockByte(uint8_t b) {
    s_.BlockBuffer[std::size_t(s_.ByteCount)] = b;
    if (++s_.ByteCount < kBlockSize) return;
    s_.ByteCount = 0;
    uint8_t sum = 0;
    for (int i = 0; i < kBlockSize; ++i)
        sum = uint8_t(sum + s_.BlockBuffer[std::size_t(i)]);
    if (s_.BlockBuffer[0] != kBlockStart || sum != 0) {
        send(kRepeat);
        return;
    }
    acceptBlock();
}

void DumpReceiver::acceptBlock() {
    s_.LengthText.clear();
    if (!file_.write(reinterpret_cast<const char *>(&s_.BlockBuffer[1]), kBlockData)) {
        s_.FailureText = QString("Dump Aborted: %1").arg(file_.errorString());
        return;
    }
    s_.ReceivedTotal += kBlockData;
    const double p = double(s_.ReceivedTotal) * 100.0 / double(s_.DumpLength);
    sink_.setDumpProgress(roundedPercent(p), percentCaption(p));
    if (s_.ReceivedTotal >= s_.DumpLength) s_.TransferDone = true;
    send(kReady);
}

void DumpReceiver::onSilence() {
    s_.ByteCount = 0;
    // A partial header goes too, so the header sent again is read alone.
    if (s_.AwaitingLength) s_.LengthText.clear();
    send(kRepeat);
}

} // namespace ravelin
