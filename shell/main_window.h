// The RAVELIN window: one tab per page (Dump, Operating_System, Com Parameters, Help), the status
// bar, the serial port, the file dialog and the transfer engine. The pages hold their controls;
// the window runs the actions their buttons ask for and keeps a running transfer safe: while it
// runs, every button, list and text field of every page is disabled except STOP, Escape presses
// STOP, and EXIT still ends the program at once (what a dump received stays under ".partial").
#pragma once

#include "live_dump.h"
#include "mscomm_channel.h"
#include "transfer_engine.h"
#include "transfer_sink.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QPushButton;
class QTabWidget;
class QTimer;

namespace ravelin {

class ComParametersPage;
class FileQuestion;
class ConversionAction;
class DumpPage;
class MSComm;
class OperatingSystemPage;
class StatusBar;
class TransferPage;

class MainWindow : public QMainWindow, private TransferSink {
    Q_OBJECT
  public:
    // Builds the pages and applies the stored port settings.
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Adds a page as the last tab; while a transfer runs, its controls are held like the others.
    void addPage(QWidget *page, const QString &caption);

    // The whole status text, however much of it the bar shows.
    QString statusText() const;
    void setStatusText(const QString &text);
    // What CONVERT converts: the ".raw" the last START DUMP named, or the file RAW To TVD last
    // chose; empty until one of them names a file (a system file chosen for an upload is never
    // it). Tests name it directly.
    QString lastRawFile() const { return lastRawFile_; }
    void setLastRawFile(const QString &path) { lastRawFile_ = path; }
    TransferEngine &transfers() { return transfers_; }
    const LiveDump &liveDump() const { return liveDump_; }
    LiveDump &liveDump() { return liveDump_; }
    bool transferRunning() const { return running_ != Running::Nothing; }

    // Closing the window ends the program at once (files closed first). Tests replace the
    // ending so that the test process lives on.
    void setProgramEnder(std::function<void()> ender) { endProgram_ = std::move(ender); }
    bool isUnloaded() const { return unloading_; }

  signals:
    void unloaded();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    enum class Running { Nothing, Dump, Upload };

    void startDump();
    void reprogramSystem();
    void convertNamedFile();
    void chooseAndConvert();
    void stopTransfer();
    void pressEnter();
    void unload();
    void runTransfer(TransferPage &page, Running kind, const std::function<void()> &transfer);
    void holdControls(TransferPage &page);
    void releaseControls(TransferPage &page);

    // TransferSink: where the engine reports.
    void setStatus(const QString &text) override { setStatusText(text); }
    void setDumpProgress(int value, const QString &caption) override;
    void setUploadProgress(int value, const QString &caption) override;
    void showMessage(const QString &text, const QString &title) override;
    void beep() override;
    void setDumpButtonEnabled(bool enabled) override;
    void setUploadButtonEnabled(bool enabled) override;

    MSComm *port_;
    QTimer *readyTimer_;   // sends 0x06 every 500 ms until the instrument answers
    QTimer *silenceTimer_; // asks for a block again after 2 s of silence
    MSCommChannel channel_;
    LiveDump liveDump_; // read by the Dump page; outlives the engine that hands it the bytes
    TransferEngine transfers_;
    FileQuestion *fileQuestion_;
    QTabWidget *tabs_;
    StatusBar *statusBar_;
    DumpPage *dumpPage_;
    OperatingSystemPage *operatingSystemPage_;
    ComParametersPage *comParametersPage_;
    QPushButton *stopButton_;
    std::unique_ptr<ConversionAction> conversion_;

    Running running_ = Running::Nothing;
    QString lastRawFile_;
    QString keptPartial_; // what the last dump kept under ".partial" when it failed
    QList<QPointer<QWidget>> heldControls_; // disabled for the running transfer
    std::function<void()> endProgram_;
    bool unloading_ = false;
};

} // namespace ravelin
