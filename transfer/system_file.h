// The operating-system file (".sys"): line 1 counts the lines that follow, which go to the
// instrument unchanged. Checked whole before anything is sent, so a damaged file is refused
// instead of leaving the instrument with part of a system.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

namespace ravelin {

inline constexpr int kUsbPacketSize = 48;  // bytes of a line sent in its USB packet
inline constexpr int kLongestUsbLine = 64; // a longer line cannot be sent at all

struct SystemFile {
    int16_t LineTotal = 0;
    QList<QByteArray> lines; // the lines after line 1, without their line ends
    int linesCut = 0;        // USB: lines longer than a packet, sent cut to its 48 bytes
    QString error;           // why the file is refused; empty when it may be sent
};

// The leading numeric part of a line as a count (0 when there is none), rounded.
double leadingNumber(const QByteArray &line);

// usbPackets: no line may be longer than 64 characters; longer than 48, it is counted as cut.
SystemFile readSystemFile(const QString &path, bool usbPackets);

} // namespace ravelin
