// The two transfers, dump and operating-system upload, over the serial port or USB. Each Start...
// call runs its transfer to the end, pumping the event queue while it waits, so the window stays
// responsive; the port's input event and the two timers are handled here in the meantime.
#pragma once

#include "dump_file.h"
#include "dump_receiver.h"
#include "serial_channel.h"
#include "system_file.h"
#include "transfer_end.h"
#include "transfer_sink.h"
#include "upload_sender.h"
#include "usbbulk_binding.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

namespace ravelin {

enum class TransferOutcome {
    Completed,   // file saved / operating system sent
    MemoryEmpty, // the instrument has nothing to dump; no file left
    Failed,      // reported on the status bar
};

class TransferEngine : public QObject {
    Q_OBJECT
  public:
    // The ready timer (500 ms, sends 0x06) and the silence timer (2000 ms, drops a partial
    // block, sends 0x0F) belong to the caller; their intervals are set here and their ticks
    // are taken here. The port's input event goes to takeInput().
    TransferEngine(SerialChannel &port, QTimer &readyTimer, QTimer &silenceTimer,
                   TransferSink &sink, QObject *parent = nullptr);
    ~TransferEngine() override;

    // rawPath: the normalised ".raw" name.
    TransferOutcome startDump(const QString &rawPath, bool viaUsb);
    // The serial upload runs with `lineSettings` at kUploadBaudRate.
    TransferOutcome startUpload(const QString &systemFile, bool viaUsb,
                                const PortSettings &lineSettings);

    bool busy() const { return busy_; }
    // The length the last USB dump held the instrument to: the announced one, or the largest
    // memory for a length that is unknown or beyond it.
    int32_t usbDumpLength() const { return usbDumpLength_; }

    // Flushes and closes a dump file left open (the program is ending): what was received
    // stays under the ".partial" name.
    void closeFiles() { file_.keepPartial(); }

    // USB: load this file instead of searching for libusbbulk.so, or use these functions.
    void setUsbLibraryPath(const QString &path) { usbLibraryPath_ = path; }
    void setUsbApi(const UsbBulkApi &api) { usb_ = api; }

    // The dumps' data bytes also go to live (none when null); its owner restarts and finishes it.
    void setLiveDump(LiveDump *live) { file_.setLive(live); }

    // How waiting pumps events; the default yields to the application's event queue.
    void setEventPump(std::function<void(bool wait)> pump) { pump_ = std::move(pump); }

  public slots:
    void takeInput(); // receiveDumpData or sendSystemLines, by the serial transfer running
    void receiveDumpData();
    void sendSystemLines();
    void sendReadyByte();
    void onSilence();
    void onQuiet();
    // Ends the running transfer as soon as it waits again ("Dump Aborted" / "Upload Aborted");
    // a dump keeps what it received under the ".partial" name.
    void abort();
    // The same, on the operator's word: "Dump Aborted: stopped by the operator".
    void stop();
    // The open port failed (adapter pulled): the running transfer ends with this description.
    void portLost(const QString &description);

  private:
    TransferOutcome serialDump(const QString &rawPath);
    TransferOutcome usbDump(const QString &rawPath);
    TransferOutcome serialUpload(const SystemFile &file, PortSettings lineSettings);
    TransferOutcome usbUpload(const SystemFile &file);
    bool bindUsb();                            // false: failure already on the status bar
    bool openDumpFile(const QString &rawPath); // false: failure already on the status bar
    TransferOutcome fail(const QString &text); // status, beep, Failed
    QString keptPartialNote();                 // where a failed dump left what arrived
    TransferOutcome usbFailure();
    TransferOutcome usbPipeNotOpened(); // says so when the system refused access
    void stopTimersAndClosePort();
    void pump(bool wait) { pump_(wait); }
    template <typename Handler> void guarded(Handler &&handler);

    SerialChannel &port_;
    QTimer &readyTimer_;
    QTimer &silenceTimer_;
    TransferSink &sink_;
    TransferEnd end_;
    QTimer quietTimer_; // a held answer goes out when the line has been quiet this long
    DumpFile file_;
    DumpReceiver receiver_;
    UploadSender sender_;
    std::optional<UsbBulkApi> usb_;
    QString usbLibraryPath_;
    std::function<void(bool)> pump_;
    bool busy_ = false;
    bool uploading_ = false; // the port's input goes to the sender, else to the receiver
    int32_t usbDumpLength_ = 0;
    // Kept between uploads: a line shorter than the packet leaves an earlier line's bytes.
    std::array<uint8_t, kUsbPacketSize> usbPacket_{};
    bool dumpFileOpened_ = false; // by the running dump
    QString abortedText_;         // "Dump Aborted" or "Upload Aborted", for the running transfer
};

} // namespace ravelin
