#include "transfer_engine.h"

#include "engine_internals.h"
#include "system_file.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace ravelin {

using namespace engine;

namespace {

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

TransferOutcome TransferEngine::fail(const QString &text) {
    sink_.setStatus(text);
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

} // namespace ravelin
