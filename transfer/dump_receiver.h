// The receiving side of the serial dump: the length header, the 255-byte blocks checked by their
// first byte and byte sum, and the answers 0x06 / 0x0F. Run by the port's input event while
// the serial dump runs; the timer ticks come here too.
//
// Blocks carry no number, so the PC must never let the instrument answer a byte the PC did not
// mean: an instrument whose serial input queues while it is busy answers every queued byte in
// turn, and a repeated block would be stored as the next one. So:
// - before the header only the ready byte goes out, and the header is answered once the line is
//   quiet; blocks the instrument sends unasked meanwhile (it had queued ready bytes) are taken in
//   order, and the answer goes to the last of them;
// - a damaged block, or a block whose successor is already arriving, is answered only once the
//   line is quiet; a block after a damaged one that was sent unasked ends the dump, since the
//   damaged one can no longer be asked for;
// - after a silence one 0x0F goes out, and no other until the instrument sends something; what
//   it then sends is taken only when it can be nothing but the block that was due (sent once, or
//   sent twice because it answered an older byte too, or finished after the silence and sent
//   again). Anything else ends the dump with the blocks taken before the silence.
#pragma once

#include "dump_file.h"
#include "protocol_bytes.h"
#include "serial_channel.h"
#include "transfer_end.h"
#include "transfer_sink.h"

#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <optional>

namespace ravelin {

// How long the line must be quiet before a held answer goes out. An instrument that answers a
// queued byte starts its next block at once; serial adapters hold bytes back for tens of ms.
inline constexpr int kQuietMs = 150;

// The status while the instrument has not started its dump after a few seconds.
inline constexpr const char *kStartDumpHint = "Syncronizing.... start DUMP on the instrument";

// The ten header characters as a byte count: decimal digits, blanks around them allowed, within
// 32 bits. Anything else is no length at all.
std::optional<int32_t> parseLengthHeader(const QByteArray &text);

// The announced length rounded up to whole blocks; nullopt when that leaves 32 bits.
std::optional<int32_t> roundedDumpLength(int32_t announced);

class DumpReceiver {
  public:
    // quietTimer: its tick goes to onQuiet(); made single-shot here, its interval is the
    // caller's (kQuietMs, or less when the silence timer is shorter).
    // A failure that ends the dump is set on `end`; the dump also ends when `end` is set
    // elsewhere.
    DumpReceiver(TransferEnd &end, SerialChannel &port, QTimer &readyTimer, QTimer &silenceTimer,
                 QTimer &quietTimer, TransferSink &sink, DumpFile &file)
        : end_(end), port_(port), readyTimer_(readyTimer), silenceTimer_(silenceTimer),
          quietTimer_(quietTimer), sink_(sink), file_(file) {}

    // Resets the fields a dump starts from.
    void begin();
    void receiveDumpData();
    void onSilence(); // 2000 ms of silence: drop the partial block or header, ask again once
    void onQuiet();   // the line went quiet while an answer was held

    bool done() const { return done_; } // every announced block is in the file
    bool memoryEmpty() const { return memoryEmpty_; }
    bool awaitingLength() const { return awaitingLength_; }
    int32_t dumpLength() const { return dumpLength_; } // announced, rounded up to whole blocks
    int64_t received() const { return received_; }     // bytes written to the file

  private:
    enum class Step {
        InStep,     // one block is due for every answer sent
        Holding,    // the answer to the last block waits until the line is quiet
        Recovering, // a 0x0F went out after a silence; what comes back is checked whole
    };

    void noteInput();
    void takeHeaderByte(uint8_t b);
    void takeBlockByte(uint8_t b);
    void takeHeldBlock(bool sound);
    void takeRecoveryByte(uint8_t b);
    void finishRecovery(bool atSilence);
    void enterRecovery();
    void hold();
    void acceptBlock(const uint8_t *block);
    void askAgainOnce();
    void untrusted(const QString &why);
    void send(uint8_t b) { port_.Output(QByteArray(1, char(b))); }
    bool ended() const { return done_ || memoryEmpty_ || end_.isSet(); }

    TransferEnd &end_;
    SerialChannel &port_;
    QTimer &readyTimer_;
    QTimer &silenceTimer_;
    QTimer &quietTimer_;
    TransferSink &sink_;
    DumpFile &file_;

    bool awaitingLength_ = false;
    int byteCount_ = 0;     // next slot of block_: 0-9 in the header, 0-254 in a block
    QByteArray lengthText_; // header characters received so far
    std::array<uint8_t, kBlockSize> block_{};
    int32_t dumpLength_ = 0;
    int64_t received_ = 0;
    bool done_ = false;
    bool memoryEmpty_ = false;
    Step step_ = Step::InStep;
    bool refusalHeld_ = false;      // the block held for the quiet line was damaged
    bool repeatUnanswered_ = false; // a 0x0F went out and nothing has arrived since
    QByteArray beforeSilence_;      // the partial block dropped by the silence
    QByteArray afterSilence_;       // what arrived after the silence's 0x0F
    QByteArray lastBlock_;          // the last block accepted, whole
    QByteArray recoveredBlock_;     // taken after a silence: the next block must differ
    QElapsedTimer sinceInput_;
    bool noAnswerShown_ = false;
    bool startHintShown_ = false;
};

} // namespace ravelin
