#include "survey_printer.h"

#include "text_lines.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace ravelin {

namespace {

constexpr int indentWidth = 10;
constexpr int tabWidth = 8;

// The page shows tabs as the blanks up to the next eighth column, so the survey's tabbed
// columns stay aligned in the fixed-pitch face.
QString printableText(const QByteArray &line) {
    QString text;
    text.reserve(line.size());
    for (const char c : line) {
        if (c == '\t') {
            text += QString(tabWidth - text.size() % tabWidth, QLatin1Char(' '));
        } else {
            text += QChar::fromLatin1(c);
        }
    }
    return text;
}

// Turns the page to landscape when the longest line, indent included, is wider than the portrait
// page: a KX-4 survey line runs to about 150 characters, and the right-hand columns (TIME,
// DEC.TIME, TERRAIN, DATE) would otherwise fall off the paper.
void turnPageForWidestLine(QPagedPaintDevice &device, const QList<QByteArray> &lines) {
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true); // never narrower than the plain face
    const QFontMetricsF metrics(font, &device);
    const QString indent(indentWidth, QLatin1Char(' '));
    qreal widest = 0;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].startsWith('-')) // drawn as a rule of three quarters of the width
            widest = qMax(widest, metrics.horizontalAdvance(indent + printableText(lines[i])));
    if (widest > device.width()) device.setPageOrientation(QPageLayout::Landscape);
}

} // namespace

bool printSurveyLines(const QList<QByteArray> &lines, PrintSurface &surface, QString *failure) {
    const QString indent(indentWidth, QLatin1Char(' '));
    surface.setFont(QStringLiteral("Courier New"), 8);
    // The decoder opens every line with its line end, so the first line is always empty.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        surface.setBold(false);
        if (!line.startsWith(' ')) surface.setBold(true);
        if (line.startsWith('-')) {
            surface.print(indent, false);
            const int x = surface.currentX();
            const int y = surface.currentY();
            const int width = surface.pageWidth();
            const int height = surface.pageHeight();
            surface.drawLine(x, y, x + static_cast<int>(6.0 / 8.0 * width), y + height / 700,
                             Qt::black);
            surface.print(QString(), true);
        } else {
            surface.print(indent + printableText(line), true);
        }
    }
    return surface.endDocument(failure);
}

PrintResult printSurveyTextFile(const QString &surveyPath, const QString &pdfPath) {
    PrintResult result;
    QFile survey(surveyPath);
    if (!survey.open(QIODevice::ReadOnly)) {
        result.failure = QStringLiteral("Cannot open survey text file %1: %2")
                             .arg(surveyPath, survey.errorString());
        return result;
    }
    const QList<QByteArray> lines = splitTextLines(survey.readAll());
    if (lines.isEmpty()) {
        result.failure = QStringLiteral("Survey text file %1 is empty").arg(surveyPath);
        return result;
    }

    std::unique_ptr<QPagedPaintDevice> device;
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        auto job = std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
        job->setDocName(surveyPath);
        device = std::move(job);
    } else {
        auto writer = std::make_unique<QPdfWriter>(pdfPath);
        writer->setTitle(surveyPath);
        writer->setResolution(1200);
        writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        device = std::move(writer);
        result.pdfPath = pdfPath;
    }

    turnPageForWidestLine(*device, lines);
    auto surface = PaintDeviceSurface::begin(device.get(), &result.failure);
    if (!surface) {
        if (!result.pdfPath.isEmpty())
            result.failure = QStringLiteral("Cannot write %1").arg(pdfPath);
        return result;
    }
    result.ok = printSurveyLines(lines, *surface, &result.failure);
    return result;
}

} // namespace ravelin
