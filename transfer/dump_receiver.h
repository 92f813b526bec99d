// The receiving side of the serial dump: the length header, the 255-byte blocks checked by their
// first byte and byte sum, and the answers 0x06 / 0x0F. Run by the port's input event while
// UploadMode is false; the timer ticks come here too.
#pragma once

#include "dump_file.h"
#include "protocol_bytes.h"
#include "serial_channel.h"
#include "transfer_sink.h"
#include "transfer_state.h"

#include <QTimer>
#include <optional>

namespace ravelin {

// The ten header characters as a byte count: decimal digits, blanks around them allowed, within
// 32 bits. Anything else is no length at all.
std::optional<int32_t> parseLengthHeader(const QByteArray &text);

// The announced length rounded up to whole blocks; nullopt when that leaves 32 bits.
std::optional<int32_t> roundedDumpLength(int32_t announced);

class DumpReceiver {
  public:
    DumpReceiver(TransferState &state, SerialChannel &port, QTimer &readyTimer,
                 QTimer &silenceTimer, TransferSink &sink, DumpFile &file)
        : s_(state), port_(port), readyTimer_(readyTimer), silenceTimer_(silenceTimer), sink_(sink),
          file_(file) {}

    // Resets the fields a dump starts from.
    void begin();
    void receiveDumpData();
    void onSilence(); // 2000 ms of silence: drop the partial block or header, ask again

    // The wait loop's end conditions.
    bool ended() const { return s_.TransferDone || s_.MemoryEmpty || !s_.FailureText.isEmpty(); }

  private:
    void takeHeaderByte(uint8_t b);
    void takeBlockByte(uint8_t b);
    void acceptBlock();
    void send(uint8_t b) { port_.Output(QByteArray(1, char(b))); }

    TransferState &s_;
    SerialChannel &port_;
    QTimer &readyTimer_;
    QTimer &silenceTimer_;
    TransferSink &sink_;
    DumpFile &file_;
};

} // namespace ravelin
