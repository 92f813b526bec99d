// A USB instrument in the test process, behind the six usbbulk functions: what each call
// returns is scripted, and what the PC did is recorded.
#pragma once

#include "usbbulk_binding.h"

#include <QByteArray>
#include <QList>
#include <cstring>

namespace ravelin::test {

struct UsbScript {
    bool present = true;
    uint16_t vendor = 0x0815;
    uint16_t product = 0x1A2D;
    int16_t pipeHandle = 3;
    QList<QByteArray> packets; // each read delivers the next one; then reads deliver 0 bytes
    int failReadAt = -1;       // this read (counted from 0) returns 0
    int32_t announced = 0;     // dll_Get_Long's answer
    int failWriteAt = -1;
    // These reads end at the read timeout: the bytes of their packet arrive with a short count,
    // or, when it is empty, the read fails; dll_getReadFailure says USBBULK_READ_TIMED_OUT.
    QList<int> timedOutReads;

    int descriptorCalls = 0;
    QList<QByteArray> openedPipes;
    int reads = 0;
    int16_t readFailure = USBBULK_READ_OK;
    QList<QByteArray> writes;
    QList<int32_t> closedHandles;

    // The instrument's dump of `image`: a first packet announcing `announced`, then the image
    // in 64-byte packets, the last one short.
    void dumpOf(const QByteArray &image, int32_t announcedLength) {
        announced = announcedLength;
        packets = {QByteArray(64, '\0')};
        for (qsizetype at = 0; at < image.size(); at += 64)
            packets << image.mid(at, 64);
        if (image.size() % 64 == 0) packets << QByteArray();
    }
};

inline UsbScript usb;

inline UsbBulkApi scriptedUsbApi() {
    UsbBulkApi api;
    api.getDeviceDescriptor = [](uint8_t *d) -> int16_t {
        ++usb.descriptorCalls;
        if (!usb.present) return 0;
        std::memset(d, 0, 18);
        d[0] = 18;
        d[8] = uint8_t(usb.vendor);
        d[9] = uint8_t(usb.vendor >> 8);
        d[10] = uint8_t(usb.product);
        d[11] = uint8_t(usb.product >> 8);
        return 1;
    };
    api.openUsbPipe = [](const char *name) -> int16_t {
        usb.openedPipes << QByteArray(name);
        return usb.pipeHandle;
    };
    api.readPipe = [](int32_t, void *buffer, int32_t requested, int32_t *delivered) -> int16_t {
        const int n = usb.reads++;
        usb.readFailure = USBBULK_READ_FAILED;
        if (n == usb.failReadAt) return 0;
        const QByteArray packet = n < usb.packets.size() ? usb.packets[n] : QByteArray();
        const bool timedOut = usb.timedOutReads.contains(n);
        usb.readFailure = timedOut ? USBBULK_READ_TIMED_OUT : USBBULK_READ_OK;
        if (timedOut && packet.isEmpty()) return 0;
        const int32_t count = int32_t(qMin<qsizetype>(packet.size(), requested));
        std::memcpy(buffer, packet.constData(), std::size_t(count));
        *delivered = count;
        return 1;
    };
    api.getReadFailure = []() -> int16_t { return usb.readFailure; };
    api.getLong = [](const uint8_t *) -> int32_t { return usb.announced; };
    api.writePipe = [](int32_t, const void *buffer, int32_t length, int32_t *written) -> int16_t {
        if (usb.writes.size() == usb.failWriteAt) return 0;
        usb.writes << QByteArray(static_cast<const char *>(buffer), length);
        *written = length;
        return 1;
    };
    api.closeUsbPipe = [](int32_t handle) -> int16_t {
        usb.closedHandles << handle;
        return 1;
    };
    return api;
}

} // namespace ravelin::test
