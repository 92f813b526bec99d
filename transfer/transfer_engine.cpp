#include "transfer_engine.h"

#include "comm_error.h"
#include "dump_name.h"
#include "progress_text.h"
#include "system_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <algorithm>

namespace ravelin {

namespace {

QString describe(const std::exception &e) {
    if (auto *comm = dynamic_cast<const CommError *>(&e)) return comm->description();
    return QString::fromUtf8(e.what());
}

const char *const kUsbFailure = "ERROR ----> USB DEVICE NOT DETECTED, connect again and restart";
constexpr uint16_t kVendor = 0x0815;
constexpr uint16_t kProductKx4 = 0x1A2D;
constexpr uint16_t kProductVirel = 0x0DDE;
constexpr int kDescriptorAttempts = 11;
constexpr int32_t kUnknownDumpTotal = 1000000;
constexpr int32_t kLargestDumpTotal = 12500000;
constexpr int kLastLineGraceMs = 1000;

void defaultPump(bool wait) {
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

} // namespace

TransferEngine::TransferEngine(SerialChannel &port, QTimer &timer1, QTimer &timer2,
                               TransferSink &sink, TransferState &windowState, QObject *parent)
    : QObject(parent), port_(port), timer1_(timer1), timer2_(timer2), sink_(sink),
      state_(windowState), receiver_(state_, port, timer1, timer2, sink, file_),
      sender_(state_, port, timer1, sink), pump_(defaultPump) {
    timer1_.stop();
    timer2_.stop();
    timer1_.setInterval(500);
    timer2_.setInterval(2000);
}

TransferEngine::TransferEngine(SerialChannel &port, QTimer &timer1, QTimer &timer2,
                               TransferSink &sink, QObject *parent)
    : TransferEngine(port, timer1, timer2, sink, ownState_, parent) {
    connect(&timer1_, &QTimer::timeout, this, &TransferEngine::Timer1_Timer);
    connect(&timer2_, &QTimer::timeout, this, &TransferEngine::Timer2_Timer);
}

TransferEngine::~TransferEngine() = default;

// The port and timer handlers run inside the event pump, where an exception would end the
// program: a port failure there ends the transfer instead.
template <typename Handler> void TransferEngine::guarded(Handler &&handler) {
    try {
        handler();
    } catch (const std::exception &e) {
        PortLost(describe(e));
    }
}

void TransferEngine::MSComm1_OnComm() {
    if (state_.UploadMode)
        SendSystemLines();
    else
        ReceiveDumpData();
}

void TransferEngine::ReceiveDumpData() {
    guarded([this] { receiver_.ReceiveDumpData(); });
}

void TransferEngine::SendSystemLines() {
    guarded([this] { sender_.SendSystemLines(); });
}

void TransferEngine::PortLost(const QString &description) {
    if (busy_ && state_.FailureText.isEmpty())
        state_.FailureText = abortedText_ + ": " + description;
}

void TransferEngine::Abort() {
    if (busy_ && state_.FailureText.isEmpty()) state_.FailureText = abortedText_;
}

void TransferEngine::Timer1_Timer() {
    guarded([this] { port_.Output(QByteArray(1, char(kReady))); });
}

void TransferEngine::Timer2_Timer() {
    guarded([this] { receiver_.Timer2_Timer(); });
}

void TransferEngine::stopTimersAndClosePort() {
    timer1_.stop();
    timer2_.stop();
    try {
        port_.setPortOpen(false);
    } catch (const std::exception &) {
        // closing a port that is already gone changes nothing for the transfer
    }
}

// ---- Dump ---------------------------------------------------------------------------------

TransferOutcome TransferEngine::StartDump(const QString &rawPath, bool viaUsb) {
    if (busy_) {
        sink_.setStatus("Another transfer is running; wait for it to end");
        return TransferOutcome::Failed;
    }
    busy_ = true;
    const auto idle = qScopeGuard([this] { busy_ = false; });
    abortedText_ = "Dump Aborted";
    state_.FailureText.clear();
    const TransferOutcome outcome = viaUsb ? usbDump(rawPath) : serialDump(rawPath);
    sink_.setDumpButtonEnabled(true);
    return outcome;
}

TransferOutcome TransferEngine::failDump(const QString &text) {
    sink_.setStatus(text);
    sink_.beep();
    return TransferOutcome::Failed;
}

TransferOutcome TransferEngine::serialDump(const QString &rawPath) {
    if (!file_.open(rawPath)) return failDump("Dump Aborted: " + file_.errorString());
    sink_.setDumpButtonEnabled(false);
    sink_.setStatus("Syncronizing....");
    receiver_.begin();
    try {
        port_.setPortOpen(true);
    } catch (const std::exception &e) {
        file_.discard();
        stopTimersAndClosePort();
        return failDump("Dump Aborted: " + describe(e));
    }
    timer1_.start();

    for (;;) {
        if (state_.TransferDone) break;
        if (state_.MemoryEmpty) {
            stopTimersAndClosePort();
            sink_.showMessage("Data Memory Empty", "Error");
            sink_.setStatus("Dump Aborted");
            state_.TransferDone = true;
            file_.discard();
            return TransferOutcome::MemoryEmpty;
        }
        if (!state_.FailureText.isEmpty()) {
            stopTimersAndClosePort();
            file_.keepPartial(); // deleted when nothing was written
            return failDump(state_.FailureText);
        }
        pump(true);
        if (!timer2_.isActive()) timer2_.start(); // restarted only after a pass without input
    }

    stopTimersAndClosePort();
    if (!file_.commit()) {
        file_.keepPartial();
        return failDump("Dump Aborted: " + file_.errorString());
    }
    sink_.setStatus("Upload Finished,  File saved: " + convertedDatabaseName(rawPath));
    sink_.beep();
    return TransferOutcome::Completed;
}

bool TransferEngine::bindUsb() {
    if (usb_ && usb_->complete()) return true;
    const UsbBulkBinding binding = bindUsbBulk(usbLibraryPath_);
    if (!binding.error.isEmpty()) {
        sink_.setStatus(binding.error);
        sink_.beep();
        return false;
    }
    usb_ = binding.api;
    return true;
}

TransferOutcome TransferEngine::usbFailure() {
    sink_.setStatus(kUsbFailure);
    sink_.beep();
    return TransferOutcome::Failed;
}

TransferOutcome TransferEngine::usbDump(const QString &rawPath) {
    pump(false);
    if (!bindUsb()) return TransferOutcome::Failed;
    const UsbBulkApi &usb = *usb_;
    TransferState &s = state_;

    bool found = false;
    for (int attempt = 0; attempt < kDescriptorAttempts && !found; ++attempt)
        found = usb.getDeviceDescriptor(s.DeviceDescriptor.data()) != 0;
    if (!found || descriptorVendor(s.DeviceDescriptor) != kVendor) return usbFailure();
    pump(false);

    if (!file_.open(rawPath)) return failDump("Dump Aborted: " + file_.errorString());
    sink_.setDumpButtonEnabled(false);
    pump(false);

    s.DumpPipe = usb.openUsbPipe("PIPE3");
    if (s.DumpPipe == -1) {
        file_.discard();
        return usbFailure();
    }
    // Whatever way the dump ends from here, the pipe is closed and an unfinished file kept
    // under its ".partial" name (deleted when empty).
    auto closePipe = qScopeGuard([&] {
        usb.closeUsbPipe(s.DumpPipe);
        file_.keepPartial();
    });

    s.RequestLength = 64;
    s.ReceivedLength = 64;
    if (usb.readPipe(s.DumpPipe, s.ReadBuffer.data(), s.RequestLength, &s.ReceivedLength) == 0)
        return usbFailure();
    s.DumpTotal = usb.getLong(s.ReadBuffer.data());
    if (s.DumpTotal < 0) s.DumpTotal = kUnknownDumpTotal;
    if (s.DumpTotal > kLargestDumpTotal) s.DumpTotal = kLargestDumpTotal;
    s.DumpCount = 0;
    if (s.DumpTotal == 0)
        return failDump("Dump Aborted: the instrument announced a dump of 0 bytes");

    const uint16_t product = descriptorProduct(s.DeviceDescriptor);
    if (product == kProductKx4) sink_.setStatus("Reading KX-4 data......");
    if (product == kProductVirel) sink_.setStatus("Reading  VIREL data.....");
    pump(false);

    QElapsedTimer sincePump;
    sincePump.start();
    int shownValue = -1;
    while (s.ReceivedLength == s.RequestLength) {
        if (usb.readPipe(s.DumpPipe, s.ReadBuffer.data(), s.RequestLength, &s.ReceivedLength) == 0)
            return usbFailure();
        // Only the bytes this read delivered: a short last packet adds nothing stale.
        const int32_t delivered = std::clamp<int32_t>(s.ReceivedLength, 0, s.RequestLength);
        s.DumpCount += delivered;
        if (!file_.write(reinterpret_cast<const char *>(s.ReadBuffer.data()), delivered))
            return failDump("Dump Aborted: " + file_.errorString());
        const double p = double(s.DumpCount) * 100.0 / double(s.DumpTotal);
        const int value = roundedPercent(p);
        if (value != shownValue) {
            shownValue = value;
            sink_.setDumpProgress(std::min(value, 100), percentCaption(p));
        }
        // The window's events run at least every few milliseconds, not after every packet,
        // so that pumping does not cost more than the transfer.
        if (sincePump.elapsed() >= 10) {
            pump(false);
            sincePump.restart();
            if (!s.FailureText.isEmpty()) return failDump(s.FailureText);
        }
        if (value > 101) break;
    }

    closePipe.dismiss();
    const bool saved = file_.commit();
    usb.closeUsbPipe(s.DumpPipe);
    if (!saved) {
        file_.keepPartial();
        return failDump("Dump Aborted: " + file_.errorString());
    }
    sink_.setDumpProgress(100, percentCaption(100));
    pump(false);
    stopTimersAndClosePort();
    sink_.setStatus("Upload Finished,  File saved: " + convertedDatabaseName(rawPath));
    sink_.beep();
    return TransferOutcome::Completed;
}

// ---- Upload -------------------------------------------------------------------------------

TransferOutcome TransferEngine::StartUpload(const QString &systemFile, bool viaUsb,
                                            const QString &uploadSettings) {
    if (busy_) {
        sink_.setStatus("Another transfer is running; wait for it to end");
        return TransferOutcome::Failed;
    }
    busy_ = true;
    const auto idle = qScopeGuard([this] { busy_ = false; });
    abortedText_ = "Upload Aborted";
    state_.FailureText.clear();
    const SystemFile file = readSystemFile(systemFile, viaUsb);
    if (!file.error.isEmpty()) {
        sink_.setStatus(file.error);
        sink_.beep();
        return TransferOutcome::Failed;
    }
    state_.LineTotal = file.LineTotal;
    state_.LinesSent = 0;
    pump(false);
    const TransferOutcome outcome =
        viaUsb ? usbUpload(file.lines) : serialUpload(file.lines, uploadSettings);
    sink_.setUploadButtonEnabled(true);
    return outcome;
}

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
        return failDump("Upload Aborted: " + describe(e));
    }
    timer1_.start();
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
    if (!state_.TransferDone) return failDump(state_.FailureText);
    return TransferOutcome::Completed;
}

TransferOutcome TransferEngine::usbUpload(const QList<QByteArray> &lines) {
    if (!bindUsb()) return TransferOutcome::Failed;
    const UsbBulkApi &usb = *usb_;
    TransferState &s = state_;
    if (usb.getDeviceDescriptor(s.DeviceDescriptor.data()) == 0 ||
        descriptorVendor(s.DeviceDescriptor) != kVendor)
        return usbFailure();
    pump(false);
    sink_.setUploadButtonEnabled(false);
    s.UploadPipe = usb.openUsbPipe("PIPE2");
    if (s.UploadPipe == -1) return usbFailure();
    auto closePipe = qScopeGuard([&] { usb.closeUsbPipe(s.UploadPipe); });

    s.WriteLength = kUsbPacketSize;
    const uint16_t product = descriptorProduct(s.DeviceDescriptor);
    if (product == kProductKx4) sink_.setStatus("Uploading new O.S. for KX-4.....");
    if (product == kProductVirel) sink_.setStatus("Uploading new O.S. for VIREL.....");

    for (const QByteArray &line : lines) {
        s.CurrentLine = line;
        s.LinesSent += 1;
        // Checked before the start: a line fits one packet.
        std::copy(line.begin(), line.end(), s.WriteBuffer.begin());
        int32_t written = 0;
        if (usb.writePipe(s.UploadPipe, s.WriteBuffer.data(), s.WriteLength, &written) == 0)
            return usbFailure();
        const double p = s.LinesSent * 100.0 / s.LineTotal;
        sink_.setUploadProgress(std::min(roundedPercent(p), 100), percentCaption(p, "% Completed"));
        pump(false);
        if (!s.FailureText.isEmpty()) return failDump(s.FailureText);
    }

    closePipe.dismiss();
    usb.closeUsbPipe(s.UploadPipe);
    sink_.setUploadProgress(100, percentCaption(100, "% Completed"));
    if (product == kProductKx4)
        sink_.setStatus("New Operating System Downloaded, wait for KX-4 to POWER DOWN");
    if (product == kProductVirel)
        sink_.setStatus("New Operating System Downloaded, wait for VIREL to POWER DOWN");
    sink_.beep();
    pump(false);
    return TransferOutcome::Completed;
}

} // namespace ravelin
