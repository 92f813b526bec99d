#include "transfer_engine.h"

#include "engine_internals.h"
#include "system_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>

namespace ravelin {

using namespace engine;

namespace {

void defaultPump(bool wait) {
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

} // namespace

TransferEngine::TransferEngine(SerialChannel &port, QTimer &readyTimer, QTimer &silenceTimer,
                               TransferSink &sink, QObject *parent)
    : QObject(parent), port_(port), readyTimer_(readyTimer), silenceTimer_(silenceTimer),
      sink_(sink), receiver_(end_, port, readyTimer, silenceTimer, quietTimer_, sink, file_),
      sender_(port, readyTimer, sink), pump_(defaultPump) {
    readyTimer_.stop();
    silenceTimer_.stop();
    readyTimer_.setInterval(500);
    silenceTimer_.setInterval(2000);
    connect(&readyTimer_, &QTimer::timeout, this, &TransferEngine::sendReadyByte);
    connect(&silenceTimer_, &QTimer::timeout, this, &TransferEngine::onSilence);
    connect(&quietTimer_, &QTimer::timeout, this, &TransferEngine::onQuiet);
}

TransferEngine::~TransferEngine() = default;

// The port and timer handlers run inside the event pump, where an exception would end the
// program: a port failure there ends the transfer instead.
template <typename Handler> void TransferEngine::guarded(Handler &&handler) {
    try {
        handler();
    } catch (const std::exception &e) {
        portLost(describe(e));
    }
}

void TransferEngine::takeInput() {
    if (uploading_)
        sendSystemLines();
    else
        receiveDumpData();
}

void TransferEngine::receiveDumpData() {
    guarded([this] { receiver_.receiveDumpData(); });
}

void TransferEngine::sendSystemLines() {
    guarded([this] { sender_.sendSystemLines(); });
}

void TransferEngine::portLost(const QString &description) {
    if (busy_) end_.set(abortedText_ + ": " + description);
}

void TransferEngine::abort() {
    if (busy_) end_.set(abortedText_);
}

void TransferEngine::stop() {
    if (busy_) end_.set(abortedText_ + ": stopped by the operator");
}

void TransferEngine::sendReadyByte() {
    guarded([this] { port_.Output(QByteArray(1, char(kReady))); });
}

void TransferEngine::onSilence() {
    guarded([this] { receiver_.onSilence(); });
}

void TransferEngine::onQuiet() {
    guarded([this] { receiver_.onQuiet(); });
}

void TransferEngine::stopTimersAndClosePort() {
    readyTimer_.stop();
    silenceTimer_.stop();
    quietTimer_.stop();
    try {
        port_.setPortOpen(false);
    } catch (const std::exception &) {
        // closing a port that is already gone changes nothing for the transfer
    }
}

// ---- Dump ---------------------------------------------------------------------------------

TransferOutcome TransferEngine::startDump(const QString &rawPath, bool viaUsb) {
    if (busy_) {
        sink_.setStatus("Another transfer is running; wait for it to end");
        return TransferOutcome::Failed;
    }
    busy_ = true;
    const auto idle = qScopeGuard([this] { busy_ = false; });
    abortedText_ = "Dump Aborted";
    dumpFileOpened_ = false;
    uploading_ = false;
    end_.clear();
    const TransferOutcome outcome = viaUsb ? usbDump(rawPath) : serialDump(rawPath);
    sink_.setDumpButtonEnabled(true);
    return outcome;
}

bool TransferEngine::openDumpFile(const QString &rawPath) {
    dumpFileOpened_ = file_.open(rawPath);
    if (!dumpFileOpened_) fail("Dump Aborted: " + file_.errorString());
    return dumpFileOpened_;
}

QString TransferEngine::keptPartialNote() {
    if (!dumpFileOpened_) return {};
    file_.keepPartial();
    const QString partial = DumpFile::partialName(file_.target());
    if (file_.written() == 0 || !QFileInfo::exists(partial)) return {};
    return "; what arrived is kept in " + partial;
}

TransferOutcome TransferEngine::fail(const QString &text) {
    sink_.setStatus(text + keptPartialNote());
    sink_.beep();
    return TransferOutcome::Failed;
}

bool TransferEngine::bindUsb() {
    if (usb_ && usb_->complete()) return true;
    const UsbBulkBinding binding = bindUsbBulk(usbLibraryPath_);
    if (!binding.error.isEmpty()) {
        fail(binding.error);
        return false;
    }
    usb_ = binding.api;
    return true;
}

TransferOutcome TransferEngine::usbFailure() {
    return fail(kUsbFailure);
}

TransferOutcome TransferEngine::usbPipeNotOpened() {
    const bool refused = usb_->getOpenFailure && usb_->getOpenFailure() == USBBULK_OPEN_NO_ACCESS;
    return refused ? fail(kUsbNoAccess) : usbFailure();
}

// ---- Upload -------------------------------------------------------------------------------

TransferOutcome TransferEngine::startUpload(const QString &systemFile, bool viaUsb,
                                            const PortSettings &lineSettings) {
    if (busy_) {
        sink_.setStatus("Another transfer is running; wait for it to end");
        return TransferOutcome::Failed;
    }
    busy_ = true;
    const auto idle = qScopeGuard([this] { busy_ = false; });
    abortedText_ = "Upload Aborted";
    dumpFileOpened_ = false;
    uploading_ = true;
    end_.clear();
    const SystemFile file = readSystemFile(systemFile, viaUsb);
    if (!file.error.isEmpty()) {
        sink_.setStatus(file.error);
        sink_.beep();
        return TransferOutcome::Failed;
    }
    pump(false);
    const TransferOutcome outcome = viaUsb ? usbUpload(file) : serialUpload(file, lineSettings);
    sink_.setUploadButtonEnabled(true);
    return outcome;
}

} // namespace ravelin
