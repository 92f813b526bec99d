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

TransferOutcome TransferEngine::serialUpload(const QList<QByteArray> &lines,
                                             const QString &uploadSettings) {
    sink_.setUploadButtonEnabled(false);
    sink_.setStatus("Syncronizing....");
    sender_.begin(lines, state_.LineTotal);
    try {
        port_.setSettings(uploadSettings);
        port_.setPortOpen(true);
    } catch (const std::exception &e) {
        stopTimersAndClosePort();
        return fail("Upload Aborted: " + describe(e));
    }
    readyTimer_.start();
    while (!state_.TransferDone && state_.FailureText.isEmpty())
        pump(true);
    // The instrument may ask for the last line again: the port stays open until it has been
    // quiet for a while.
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.start(kLastLineGraceMs);
    for (qint64 seen = sender_.bytesTaken();
         state_.TransferDone && quiet.isActive() && state_.FailureText.isEmpty();) {
        pump(true);
        if (sender_.bytesTaken() != seen) seen = sender_.bytesTaken(), quiet.start();
    }
    stopTimersAndClosePort();
    // Every line went out: an instrument that powers down and drops the line is no failure.
    if (!state_.TransferDone) return fail(state_.FailureText);
    return TransferOutcome::Completed;
}

TransferOutcome TransferEngine::usbUpload(const QList<QByteArray> &lines, int linesCut) {
    if (!bindUsb()) return TransferOutcome::Failed;
    const UsbBulkApi &usb = *usb_;
    TransferState &s = state_;
    if (usb.getDeviceDescriptor(s.DeviceDescriptor.data()) == 0 ||
        descriptorVendor(s.DeviceDescriptor) != kVendor)
        return usbFailure();
    pump(false);
    sink_.setUploadButtonEnabled(false);
    s.UploadPipe = usb.openUsbPipe("PIPE2");
    if (s.UploadPipe == -1) return usbPipeNotOpened();
    auto closePipe = qScopeGuard([&] { usb.closeUsbPipe(s.UploadPipe); });

    s.WriteLength = kUsbPacketSize;
    const uint16_t product = descriptorProduct(s.DeviceDescriptor);
    if (product == kProductKx4) sink_.setStatus("Uploading new O.S. for KX-4.....");
    if (product == kProductVirel) sink_.setStatus("Uploading new O.S. for VIREL.....");

    for (const QByteArray &line : lines) {
        s.CurrentLine = line;
        s.LinesSent += 1;
        // A line longer than the packet goes out cut to its first 48 bytes.
        std::copy_n(line.begin(), std::min<qsizetype>(line.size(), kUsbPacketSize),
                    s.WriteBuffer.begin());
        int32_t written = 0;
        if (usb.writePipe(s.UploadPipe, s.WriteBuffer.data(), s.WriteLength, &written) == 0)
            return usbFailure();
        const double p = s.LinesSent * 100.0 / s.LineTotal;
        sink_.setUploadProgress(std::min(roundedPercent(p), 100), percentCaption(p, "% Completed"));
        pump(false);
        if (!s.FailureText.isEmpty()) return fail(s.FailureText);
    }

    closePipe.dismiss();
    usb.closeUsbPipe(s.UploadPipe);
    sink_.setUploadProgress(100, percentCaption(100, "% Completed"));
    QString done;
    if (product == kProductKx4)
        done = "New Operating System Downloaded, wait for KX-4 to POWER DOWN";
    if (product == kProductVirel)
        done = "New Operating System Downloaded, wait for VIREL to POWER DOWN";
    if (linesCut > 0)
        done = (done.isEmpty() ? QString("Operating system sent") : done) +
               QString(" (%1 %2 longer than %3 characters sent cut to %3)")
                   .arg(linesCut)
                   .arg(linesCut == 1 ? "line" : "lines")
                   .arg(kUsbPacketSize);
    if (!done.isEmpty()) sink_.setStatus(done);
    sink_.beep();
    pump(false);
    return TransferOutcome::Completed;
}

} // namespace ravelin
