// The USB dump: find the instrument, read its memory packet by packet from "PIPE3".
#include "dump_name.h"
#include "engine_internals.h"
#include "progress_text.h"
#include "transfer_engine.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <algorithm>

namespace ravelin {

using namespace engine;

TransferOutcome TransferEngine::usbDump(const QString &rawPath) {
    pump(false);
    if (!bindUsb()) return TransferOutcome::Failed;
    const UsbBulkApi &usb = *usb_;

    DeviceDescriptor descriptor{};
    bool found = false;
    for (int attempt = 0; attempt < kDescriptorAttempts && !found; ++attempt)
        found = usb.getDeviceDescriptor(descriptor.data()) != 0;
    if (!found || descriptorVendor(descriptor) != kVendor) return usbFailure();
    pump(false);

    if (!openDumpFile(rawPath)) return TransferOutcome::Failed;
    sink_.setDumpButtonEnabled(false);
    pump(false);

    const int16_t pipe = usb.openUsbPipe("PIPE3");
    if (pipe == -1) {
        file_.discard();
        return usbPipeNotOpened();
    }
    // Whatever way the dump ends from here, the pipe is closed and an unfinished file kept
    // under its ".partial" name (deleted when empty).
    auto closePipe = qScopeGuard([&] {
        usb.closeUsbPipe(pipe);
        file_.keepPartial();
    });

    // Whether the read just made ended at the library's read timeout: the instrument sent
    // nothing, or not a whole packet, for that long. Without the library's word, every failed
    // read is a failure and every short one the instrument's last packet.
    const auto timedOut = [&usb] {
        return usb.getReadFailure && usb.getReadFailure() == USBBULK_READ_TIMED_OUT;
    };

    // The operator may press START DUMP before starting DUMP on the instrument: until its first
    // packet, a read that times out with nothing is tried again, with the events handled
    // between tries so that STOP ends the wait.
    std::array<uint8_t, kUsbReadSize> packet{};
    int32_t packetLength = kUsbReadSize;
    for (bool told = false; usb.readPipe(pipe, packet.data(), kUsbReadSize, &packetLength) == 0;
         told = true) {
        if (!timedOut()) return usbFailure();
        // The first try has waited the whole read timeout (5 s) by now.
        if (!told) sink_.setStatus(kStartDumpHint);
        pump(false);
        if (end_.isSet()) return fail(end_.reason());
    }
    int32_t total = usb.getLong(packet.data());
    // An instrument that cannot say its length is read to its last packet (up to the largest
    // memory there is), not cut off after a guessed million bytes.
    const bool lengthUnknown = total < 0;
    if (total < 0) total = kUnknownDumpTotal;
    // A length beyond the largest memory is no length to hold the instrument to either.
    const bool lengthTrusted = !lengthUnknown && total <= kLargestDumpTotal;
    if (total > kLargestDumpTotal) total = kLargestDumpTotal;
    usbDumpLength_ = total;
    int32_t count = 0;
    if (total == 0) return fail("Dump Aborted: the instrument announced a dump of 0 bytes");

    const uint16_t product = descriptorProduct(descriptor);
    if (product == kProductKx4) sink_.setStatus("Reading KX-4 data......");
    if (product == kProductVirel) sink_.setStatus("Reading  VIREL data.....");
    pump(false);

    QElapsedTimer sincePump;
    sincePump.start();
    int shownValue = -1;
    while (packetLength == kUsbReadSize) {
        const bool read = usb.readPipe(pipe, packet.data(), kUsbReadSize, &packetLength) != 0;
        // A whole packet never timed out: the library is asked only about a short or failed read.
        const bool stalled = (!read || packetLength < kUsbReadSize) && timedOut();
        if (!read && !stalled) return usbFailure();
        // Only the bytes this read delivered: a short last packet adds nothing stale.
        const int32_t delivered = read ? std::clamp<int32_t>(packetLength, 0, kUsbReadSize) : 0;
        count += delivered;
        if (!file_.write(reinterpret_cast<const char *>(packet.data()), delivered))
            return fail("Dump Aborted: " + file_.errorString());
        // All that was announced is here: an instrument that sends no short packet at the end
        // leaves the read to time out.
        if (stalled && delivered == 0 && lengthTrusted && count >= total) break;
        // An instrument that stops sending in the middle of its memory is not at its end, even
        // when what it sent before the timeout makes a short packet: the dump is kept only as far
        // as it arrived, whatever the instrument sends after its stall.
        if (stalled) {
            const QString of = lengthTrusted ? QString(" of %1").arg(total) : QString();
            return fail(QString("Dump Aborted: the instrument stopped sending after %1%2 bytes")
                            .arg(QString::number(count), of));
        }
        const double p = double(count) * 100.0 / double(total);
        const int value = roundedPercent(p);
        if (value != shownValue) {
            shownValue = value;
            sink_.setDumpProgress(std::min(value, 100), percentCaption(std::min(p, 100.0)));
        }
        // The window's events run at least every few milliseconds, not after every packet,
        // so that pumping does not cost more than the transfer.
        if (sincePump.elapsed() >= 10) {
            pump(false);
            sincePump.restart();
            if (end_.isSet()) return fail(end_.reason());
        }
        if (lengthUnknown ? count > kLargestDumpTotal : value > 101) break;
    }

    // A read that came up short before the announced length is a cable pulled or an instrument
    // that stopped: the bytes received stay under the ".partial" name, never as a whole dump.
    // Some instruments count the first packet in the length they announce, so a dump that ends
    // within one packet of it is whole.
    if (count == 0) return fail("Dump Aborted: the instrument sent no data");
    if (lengthTrusted && total - count > kUsbReadSize)
        return fail(
            QString("Dump Aborted: the instrument sent %1 of %2 bytes").arg(count).arg(total));

    closePipe.dismiss();
    const bool saved = file_.commit();
    usb.closeUsbPipe(pipe);
    if (!saved) return fail("Dump Aborted: " + file_.errorString());
    sink_.setDumpProgress(100, percentCaption(100));
    pump(false);
    stopTimersAndClosePort();
    sink_.setStatus("Upload Finished,  File saved: " + convertedDatabaseName(rawPath));
    sink_.beep();
    return TransferOutcome::Completed;
}

} // namespace ravelin
