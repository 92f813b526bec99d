// The data-memory dump and the serial event and timer handlers it shares with the upload.
#include "common_dialog.h"
#include "dump_name.h"
#include "form1.h"
#include "form1_transfers.h"
#include "mscomm.h"
#include "mscomm_channel.h"
#include "progress_indicator.h"
#include "settings_store.h"
#include "status_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>

namespace ravelin {

namespace {

class WindowSink : public TransferSink {
  public:
    explicit WindowSink(Form1 &form) : f_(form) {}
    void setStatus(const QString &text) override { f_.setStatusText(text); }
    void setDumpProgress(int value, const QString &caption) override {
        f_.UploadProgress->setValue(value);
        f_.UploadProgress->setCaption(caption);
    }
    void setUploadProgress(int value, const QString &caption) override {
        f_.ReprogramProgress->setValue(value);
        f_.ReprogramProgress->setCaption(caption);
    }
    void showMessage(const QString &text, const QString &title) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, &f_);
        box.exec();
    }
    void beep() override { QApplication::beep(); }
    void setDumpButtonEnabled(bool enabled) override { f_.STARTDUMP->setEnabled(enabled); }
    void setUploadButtonEnabled(bool enabled) override { f_.REPROGRAMSYSTEM->setEnabled(enabled); }

  private:
    Form1 &f_;
};

// The engine with everything it reports to, a child of the window.
class WindowTransfers : public QObject {
  public:
    explicit WindowTransfers(Form1 &form)
        : QObject(&form), channel(*form.MSComm1), sink(form),
          engine(channel, *form.Timer1, *form.Timer2, sink, form.Transfer) {
        setObjectName("Transfers");
        QObject::connect(form.MSComm1, &MSComm::portLost, &engine, &TransferEngine::PortLost);
    }
    MSCommChannel channel;
    WindowSink sink;
    TransferEngine engine;
};

} // namespace

TransferEngine &TransfersOf(Form1 &form) {
    auto *transfers = form.findChild<WindowTransfers *>("Transfers", Qt::FindDirectChildrenOnly);
    if (!transfers) transfers = new WindowTransfers(form);
    return transfers->engine;
}

void Form1::STARTDUMP_Click() {
    UploadProgress->setValue(0);
    UploadProgress->setCaption("00%");
    CommonDialog1->FileName = proposedDumpName(QDateTime::currentDateTime());
    CommonDialog1->Filter = "All Files (*.*)|*.*";
    CommonDialog1->Flags = CommonDialog::kHideReadOnly;
    CommonDialog1->CancelError = true;
    try {
        CommonDialog1->ShowOpen();
    } catch (const DialogCancelled &) {
        STARTDUMP->setEnabled(true);
        return;
    }
    DoEvents();
    if (CommonDialog1->FileName.isEmpty()) {
        STARTDUMP->setEnabled(true);
        return;
    }
    CommonDialog1->FileName = normalisedDumpName(CommonDialog1->FileName);
    SaveSetting("DATAPATH", "LastDir", CommonDialog1->InitDir);
    TransfersOf(*this).StartDump(CommonDialog1->FileName, USBInterface->isChecked());
}

void Form1::ReceiveDumpData() {
    TransfersOf(*this).ReceiveDumpData();
}

void Form1::MSComm1_OnComm() {
    TransfersOf(*this).MSComm1_OnComm();
}

void Form1::Timer1_Timer() {
    TransfersOf(*this).Timer1_Timer();
}

void Form1::Timer2_Timer() {
    TransfersOf(*this).Timer2_Timer();
}

void Form1::CloseTransferFiles() {
    TransferEngine &transfers = TransfersOf(*this);
    transfers.Abort(); // a wait loop still running ends at its next pass
    transfers.CloseFiles();
}

} // namespace ravelin
