// The transfer state shared by the dump, the upload and the port and timer handlers. The fields
// keep the names the whole program uses for them; everything runs on one thread, so no locks.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace ravelin {

struct TransferState {
    // Serial dump
    bool UploadMode = false;
    bool AwaitingLength = false;
    int16_t ByteCount = 0; // next slot of BlockBuffer: 0-9 in the header, 0-254 in a block
    QByteArray LengthText; // header characters received so far
    std::array<uint8_t, 261> BlockBuffer{};
    int32_t DumpLength = 0; // announced length rounded up to a multiple of 252
    int64_t ReceivedTotal = 0;
    bool TransferDone = false;
    bool MemoryEmpty = false;

    // USB dump
    std::array<uint8_t, 18> DeviceDescriptor{};
    int16_t DumpPipe = -1;
    std::array<uint8_t, 64> ReadBuffer{};
    int32_t RequestLength = 64;
    int32_t ReceivedLength = 0;
    int32_t DumpTotal = 0;
    int32_t DumpCount = 0;

    // Upload
    int16_t LineTotal = 0;
    double LinesSent = 0;
    QByteArray CurrentLine;
    int16_t UploadPipe = -1;
    std::array<uint8_t, 64> WriteBuffer{}; // kept between uploads: short lines leave old bytes
    int32_t WriteLength = 48;

    // Set by a handler that has to end the transfer (bad header, failed write); the waiting
    // procedure puts it on the status bar and ends.
    QString FailureText;
};

// idVendor and idProduct of a standard USB device descriptor (little-endian at offsets 8, 10).
inline uint16_t descriptorVendor(const std::array<uint8_t, 18> &d) {
    return uint16_t(d[8] | (d[9] << 8));
}
inline uint16_t descriptorProduct(const std::array<uint8_t, 18> &d) {
    return uint16_t(d[10] | (d[11] << 8));
}

} // namespace ravelin
