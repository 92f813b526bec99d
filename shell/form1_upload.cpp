// The operating-system upload.
#include "common_dialog.h"
#include "form1.h"
#include "form1_transfers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace ravelin {

void Form1::REPROGRAMSYSTEM_Click() {
    CommonDialog1->Filter = "System Files (*.sys)|*.sys";
    CommonDialog1->Flags = 1025;
    CommonDialog1->CancelError = true;
    try {
        CommonDialog1->ShowOpen();
    } catch (const DialogCancelled &) {
        REPROGRAMSYSTEM->setEnabled(true);
        return;
    }
    if (CommonDialog1->FileName.isEmpty()) {
        REPROGRAMSYSTEM->setEnabled(true);
        return;
    }
    const bool viaUsb = USBInterface->isChecked();
    // The serial upload runs at 57600: the speed box says so for the duration.
    const QString savedSpeed = cboSpeed->currentText();
    if (!viaUsb) cboSpeed->setCurrentText("57600");
    const QString settings =
        cboSpeed->currentText().trimmed() + "," + cboParity->currentText().left(1) + "," +
        cboDataBits->currentText().trimmed() + "," + cboStopBits->currentText().trimmed();
    TransfersOf(*this).StartUpload(CommonDialog1->FileName, viaUsb, settings);
    if (!viaUsb) cboSpeed->setCurrentText(savedSpeed);
}

void Form1::SendSystemLines() {
    TransfersOf(*this).SendSystemLines();
}

} // namespace ravelin
