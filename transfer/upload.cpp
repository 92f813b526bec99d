// The upload's two ways: serially, answered line by line by sendSystemLines, or over USB, one
// 48-byte packet per line through "PIPE2".
#include "engine_internals.h"
#include "progress_text.h"
#include "system_file.h"
#include "transfer_engine.h"

#include <QScopeGuard>
#include <algorithm>

namespace ravelin {

using namespace engine;

TransferOutcome TransferEngine::serialUpload(const SystemFile &file, PortSettings lineSettings) {
    sink_.setUploadButtonEnabled(false);
    sink_.setStatus("Syncronizing....");
    sender_.begin(file.lines, file.LineTotal);
    try {
        lineSettings.baudRate = kUploadBaudRate;
        port_.setSettings(lineSettings);
        port_.setPortOpen(true);
    } catch (const std::exception &e) {
        stopTimersAndClosePort();
        return fail("Upload Aborted: " + describe(e));
    }
    readyTimer_.start();
    while (!sender_.done() && !end_.isSet())
        pump(true);
    // The instrument may ask for the last line again: the port stays open until it has been
    // quiet for a while.
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.start(kLastLineGraceMs);
    for (qint64 seen = sender_.bytesTaken(); sender_.done() && quiet.isActive() && !end_.isSet();) {
        pump(true);
        if (sender_.bytesTaken() != seen) seen = sender_.bytesTaken(), quiet.start();
    }
    stopTimersAndClosePort();
    // Every line went out: an instrument that powers down and drops the line is no failure.
    if (!sender_.done()) return fail(end_.reason());
    return TransferOutcome::Completed;
}

TransferOutcome TransferEngine::usbUpload(const SystemFile &file) {
    if (!bindUsb()) return TransferOutcome::Failed;
    const UsbBulkApi &usb = *usb_;
    DeviceDescriptor descriptor{};
    if (usb.getDeviceDescriptor(descriptor.data()) == 0 || descriptorVendor(descriptor) != kVendor)
        return usbFailure();
    pump(false);
    sink_.setUploadButtonEnabled(false);
    const int16_t pipe = usb.openUsbPipe("PIPE2");
    if (pipe == -1) return usbPipeNotOpened();
    auto closePipe = qScopeGuard([&] { usb.closeUsbPipe(pipe); });

    const uint16_t product = descriptorProduct(descriptor);
    if (product == kProductKx4) sink_.setStatus("Uploading new O.S. for KX-4.....");
    if (product == kProductVirel) sink_.setStatus("Uploading new O.S. for VIREL.....");

    int linesSent = 0;
    for (const QByteArray &line : file.lines) {
        ++linesSent;
        // A line longer than the packet goes out cut to its first 48 bytes.
        std::copy_n(line.begin(), std::min<qsizetype>(line.size(), kUsbPacketSize),
                    usbPacket_.begin());
        int32_t written = 0;
        if (usb.writePipe(pipe, usbPacket_.data(), kUsbPacketSize, &written) == 0)
            return usbFailure();
        const double p = linesSent * 100.0 / file.LineTotal;
        sink_.setUploadProgress(std::min(roundedPercent(p), 100), percentCaption(p, "% Completed"));
        pump(false);
        if (end_.isSet()) return fail(end_.reason());
    }

    closePipe.dismiss();
    usb.closeUsbPipe(pipe);
    sink_.setUploadProgress(100, percentCaption(100, "% Completed"));
    QString done;
    if (product == kProductKx4)
        done = "New Operating System Downloaded, wait for KX-4 to POWER DOWN";
    if (product == kProductVirel)
        done = "New Operating System Downloaded, wait for VIREL to POWER DOWN";
    if (file.linesCut > 0)
        done = (done.isEmpty() ? QString("Operating system sent") : done) +
               QString(" (%1 %2 longer than %3 characters sent cut to %3)")
                   .arg(file.linesCut)
                   .arg(file.linesCut == 1 ? "line" : "lines")
                   .arg(kUsbPacketSize);
    if (!done.isEmpty()) sink_.setStatus(done);
    sink_.beep();
    pump(false);
    return TransferOutcome::Completed;
}

} // namespace ravelin
