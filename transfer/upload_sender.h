// The sending side of the serial upload: 0x11 asks for the next line, 0x0F for the last one
// again; every other byte is ignored. Run by the port's input event while UploadMode is true.
#pragma once

#include "protocol_bytes.h"
#include "serial_channel.h"
#include "transfer_sink.h"
#include "transfer_state.h"

#include <QList>
#include <QTimer>

namespace ravelin {

class UploadSender {
  public:
    UploadSender(TransferState &state, SerialChannel &port, QTimer &readyTimer, TransferSink &sink)
        : s_(state), port_(port), readyTimer_(readyTimer), sink_(sink) {}

    void begin(const QList<QByteArray> &lines, int16_t lineTotal);
    void sendSystemLines();
    qint64 bytesTaken() const { return bytesTaken_; } // bytes read from the instrument so far

  private:
    void sendCurrentLine() { port_.Output(s_.CurrentLine + "\r\n"); }

    TransferState &s_;
    SerialChannel &port_;
    QTimer &readyTimer_;
    TransferSink &sink_;
    QList<QByteArray> lines_;
    qsizetype nextLine_ = 0;
    qint64 bytesTaken_ = 0;
};

} // namespace ravelin
