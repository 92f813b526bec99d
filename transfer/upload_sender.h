// The sending side of the serial upload: 0x11 asks for the next line, 0x0F for the last one
// again; every other byte is ignored. Run by the port's input event while the serial upload runs.
#pragma once

#include "protocol_bytes.h"
#include "serial_channel.h"
#include "transfer_sink.h"

#include <QList>
#include <QTimer>

namespace ravelin {

class UploadSender {
  public:
    UploadSender(SerialChannel &port, QTimer &readyTimer, TransferSink &sink)
        : port_(port), readyTimer_(readyTimer), sink_(sink) {}

    void begin(const QList<QByteArray> &lines, int16_t lineTotal);
    void sendSystemLines();
    bool exchangeOpen() const { return exchangeOpen_; } // the instrument asked for a line
    bool done() const { return linesSent() >= lineTotal_; }
    qsizetype linesSent() const { return nextLine_; }
    qint64 bytesTaken() const { return bytesTaken_; } // bytes read from the instrument so far

  private:
    void sendLastLine() { port_.Output(lines_[nextLine_ - 1] + "\r\n"); }

    SerialChannel &port_;
    QTimer &readyTimer_;
    TransferSink &sink_;
    QList<QByteArray> lines_;
    int16_t lineTotal_ = 0;
    qsizetype nextLine_ = 0;
    bool exchangeOpen_ = false;
    qint64 bytesTaken_ = 0;
};

} // namespace ravelin
