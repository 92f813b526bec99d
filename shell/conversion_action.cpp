#include "conversion_action.h"

#include "dump_page.h"
#include "dumpdec_binding.h"
#include "output_name.h"
#include "program_identity.h"
#include "status_bar.h"
#include "survey_printer.h"
#include "xyz_file.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace ravelin {

namespace {

const QString kConvertErrorTitle = QStringLiteral("Dump File Convert Error");
const QString kConverterTitle = QStringLiteral("Dump File Converter");

// A failure inside the action that stops it: a missing raw database, decoder library or survey
// text file, or a printer or file error.
struct ActionFailure {
    QString description;
};

int showMessage(QWidget &window, QMessageBox::Icon icon, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
    QMessageBox box(icon, title, text, buttons, &window);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return box.exec();
}

void showNoDataToConvert(QWidget &window) {
    showMessage(window, QMessageBox::Critical, QString(), QStringLiteral("No data to convert"),
                QMessageBox::Ok);
}

bool askTryAgain(QWidget &window) {
    return showMessage(window, QMessageBox::Critical, kConvertErrorTitle,
                       QStringLiteral("Try again ?"), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
}

// Cancel, Try Again and Continue, no icon; whichever closes it, the run ends. A printout that
// went to a PDF file (no printer installed) is named, or the user would not find it.
void showConverted(QWidget &window, const QString &rawPath, const QString &pdfPath) {
    QString text = rawPath + QStringLiteral("file converted to .TVD");
    if (!pdfPath.isEmpty())
        text += QStringLiteral("\n\nNo printer is installed: the printout is in ") + pdfPath;
    QMessageBox box(QMessageBox::NoIcon, kConverterTitle, text, QMessageBox::Cancel, &window);
    box.addButton(QStringLiteral("&Try Again"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("C&ontinue"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
}

void showNotConverted(QWidget &window, const QString &rawPath) {
    showMessage(window, QMessageBox::Critical, kConvertErrorTitle,
                rawPath + QStringLiteral(" could not be converted to .TVD"), QMessageBox::Ok);
}

} // namespace

void ConversionAction::setStatus(const QString &text) {
    status_.setSimpleText(text);
}

// Calls the decoder until it succeeds or the user stops trying. Returns whether it converted.
bool ConversionAction::runDecoder(const QString &rawPath) {
    for (;;) {
        keepFlag_ = page_.options().keepLogFile ? 1 : 0;
        page_.setConversionButtonsEnabled(false);
        setStatus(QStringLiteral("Converting ........") + rawPath);
        status_.repaint(); // the decoder holds the window's thread until it returns
        const DecoderOutcome outcome = windowDumpdec().convert(rawPath, &keepFlag_);
        page_.setConversionButtonsEnabled(true);
        switch (outcome.kind) {
        case DecoderOutcome::Kind::Converted:
            return true;
        case DecoderOutcome::Kind::NotBound:
            throw ActionFailure{outcome.failure};
        case DecoderOutcome::Kind::Failed:
            if (!askTryAgain(window_)) return false;
        }
    }
}

void ConversionAction::convertFile(const QString &rawPath) {
    const QFileInfo raw(rawPath);
    if (!raw.isFile()) throw ActionFailure{QStringLiteral("File not found: ") + rawPath};
    // An empty raw database holds nothing to convert; saying it was converted would mislead.
    if (raw.size() == 0) {
        showNoDataToConvert(window_);
        return;
    }
    if (!runDecoder(rawPath)) {
        // The survey text file may be missing or partial: nothing is printed or derived.
        setStatus(QString(38, QLatin1Char(' ')));
        showNotConverted(window_, rawPath);
        window_.close();
        return;
    }
    // The decoder's own naming rule, so the files found are the ones it wrote.
    const QString base = QString::fromStdString(output_name(rawPath.toStdString(), ""));
    const ConversionOptions options = page_.options();
    QString pdfPath;
    if (options.printTextFile) {
        const PrintResult printed =
            printSurveyTextFile(base + QStringLiteral(".txt"), base + QStringLiteral(".pdf"));
        if (!printed.ok) throw ActionFailure{printed.failure};
        pdfPath = printed.pdfPath;
    }
    if (options.createXyz) {
        QString failure;
        if (!writeXyzFile(base + QStringLiteral(".txt"), base + QStringLiteral(".xyz"), &failure))
            throw ActionFailure{failure};
    }
    setStatus(QString(38, QLatin1Char(' ')));
    showConverted(window_, rawPath, pdfPath);
    window_.close(); // ends the program
}

void ConversionAction::run(const QString &rawPath, ConversionStart startedBy) {
    if (rawPath.isEmpty()) {
        showNoDataToConvert(window_);
        return;
    }
    try {
        convertFile(rawPath);
    } catch (const ActionFailure &failure) {
        page_.setConversionButtonsEnabled(true);
        if (startedBy == ConversionStart::RawToTvd) {
            // The window stays open for another choice; the reason stays in view.
            setStatus(failure.description);
            return;
        }
        showMessage(window_, QMessageBox::Critical, kTitle, failure.description, QMessageBox::Ok);
        window_.close();
    }
}

} // namespace ravelin
