// The conversion actions of the Dump page: CONVERT converts the file the file dialog names,
// RAW To TVD asks for one first. The decoder call, the printout and the ".xyz" file live in their
// own units; this file holds the sequence, the buttons, the status bar and the messages.
#include "form1.h"

#include "common_dialog.h"
#include "dumpdec_binding.h"
#include "output_name.h"
#include "program_identity.h"
#include "status_bar.h"
#include "survey_printer.h"
#include "xyz_file.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace ravelin {

namespace {

const QString kConvertErrorTitle = QStringLiteral("Dump File Convert Error");
const QString kConverterTitle = QStringLiteral("Dump File Converter");

// A failure inside the action that stops it: a missing raw database, decoder library or survey
// text file, or a printer or file error.
struct ActionFailure {
    QString description;
};

enum class StartedBy { Convert, RawToTvd };

bool chosen(const QCheckBox *option) {
    return option->checkState() == Qt::Checked;
}

// Convert, STARTDUMP and butRAWTVD, in this order.
void setHeldButtonsEnabled(Form1 &form, bool enabled) {
    form.Convert->setEnabled(enabled);
    form.STARTDUMP->setEnabled(enabled);
    form.butRAWTVD->setEnabled(enabled);
}

int showMessage(Form1 &form, QMessageBox::Icon icon, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
    QMessageBox box(icon, title, text, buttons, &form);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return box.exec();
}

void showNoDataToConvert(Form1 &form) {
    showMessage(form, QMessageBox::Critical, QString(), QStringLiteral("No data to convert"),
                QMessageBox::Ok);
}

bool askTryAgain(Form1 &form) {
    return showMessage(form, QMessageBox::Critical, kConvertErrorTitle,
                       QStringLiteral("Try again ?"), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
}

// Cancel, Try Again and Continue, no icon; whichever closes it, the run ends.
void showConverted(Form1 &form, const QString &rawPath) {
    QMessageBox box(QMessageBox::NoIcon, kConverterTitle,
                    rawPath + QStringLiteral("file converted to .TVD"), QMessageBox::Cancel, &form);
    box.addButton(QStringLiteral("&Try Again"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("C&ontinue"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
}

void showNotConverted(Form1 &form, const QString &rawPath) {
    showMessage(form, QMessageBox::Critical, kConvertErrorTitle,
                rawPath + QStringLiteral(" could not be converted to .TVD"), QMessageBox::Ok);
}

// Calls the decoder until it succeeds or the user stops trying. Returns whether it converted.
bool runDecoder(Form1 &form, const QString &rawPath) {
    for (;;) {
        form.KeepFlag = chosen(form.KeepLogFile) ? 1 : 0;
        setHeldButtonsEnabled(form, false);
        form.setStatusText(QStringLiteral("Converting ........") + rawPath);
        form.StatusBar1->repaint(); // the decoder holds the window's thread until it returns
        const DecoderOutcome outcome = windowDumpdec().convert(rawPath, &form.KeepFlag);
        setHeldButtonsEnabled(form, true);
        switch (outcome.kind) {
        case DecoderOutcome::Kind::Converted:
            return true;
        case DecoderOutcome::Kind::NotBound:
            throw ActionFailure{outcome.failure};
        case DecoderOutcome::Kind::Failed:
            if (!askTryAgain(form)) return false;
        }
    }
}

void convertFile(Form1 &form, const QString &rawPath) {
    const QFileInfo raw(rawPath);
    if (!raw.isFile()) throw ActionFailure{QStringLiteral("File not found: ") + rawPath};
    // An empty raw database holds nothing to convert; saying it was converted would mislead.
    if (raw.size() == 0) {
        showNoDataToConvert(form);
        return;
    }
    if (!runDecoder(form, rawPath)) {
        // The survey text file may be missing or partial: nothing is printed or derived.
        form.setStatusText(QString(38, QLatin1Char(' ')));
        showNotConverted(form, rawPath);
        form.close();
        return;
    }
    // The decoder's own naming rule, so the files found are the ones it wrote.
    const QString base = QString::fromStdString(output_name(rawPath.toStdString(), ""));
    if (chosen(form.PrintTextFile)) {
        const PrintResult printed =
            printSurveyTextFile(base + QStringLiteral(".txt"), base + QStringLiteral(".pdf"));
        if (!printed.ok) throw ActionFailure{printed.failure};
    }
    if (chosen(form.CreateXYZ)) {
        QString failure;
        if (!writeXyzFile(base + QStringLiteral(".txt"), base + QStringLiteral(".xyz"), &failure))
            throw ActionFailure{failure};
    }
    form.setStatusText(QString(38, QLatin1Char(' ')));
    showConverted(form, rawPath);
    form.close(); // ends the program
}

void convertAction(Form1 &form, const QString &rawPath, StartedBy startedBy) {
    try {
        convertFile(form, rawPath);
    } catch (const ActionFailure &failure) {
        setHeldButtonsEnabled(form, true);
        if (startedBy == StartedBy::RawToTvd) {
            // The window stays open for another choice; the reason stays in view.
            form.setStatusText(failure.description);
            return;
        }
        showMessage(form, QMessageBox::Critical, kTitle, failure.description, QMessageBox::Ok);
        form.close();
    }
}

} // namespace

void Form1::Convert_Click() {
    const QString rawPath = CommonDialog1->FileName;
    if (rawPath.isEmpty()) {
        showNoDataToConvert(*this);
        return;
    }
    convertAction(*this, rawPath, StartedBy::Convert);
}

void Form1::butRAWTVD_Click() {
    CommonDialog1->Filter =
        QStringLiteral("Tervane raw database (*.raw)|*.raw |All Files (*.*)|*.*");
    CommonDialog1->Flags = CommonDialog::kHideReadOnly;
    CommonDialog1->CancelError = true;
    try {
        CommonDialog1->ShowOpen();
    } catch (const DialogCancelled &) {
        return;
    }
    DoEvents();
    const QString rawPath = CommonDialog1->FileName;
    if (!rawPath.isEmpty()) convertAction(*this, rawPath, StartedBy::RawToTvd);
}

} // namespace ravelin
