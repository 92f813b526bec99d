// Reads back what a printout PDF holds: its text lines with their weight (through poppler's
// pdftohtml) and the straight lines stroked on its pages (from the page content streams).
#pragma once

#include <QList>
#include <QString>

struct PdfTextLine {
    QString text;
    bool bold = false;
};

struct PdfSegment {
    double x1, y1, x2, y2;
};

QList<PdfTextLine> pdfTextLines(const QString &pdfPath, int *pageCount = nullptr);
QList<PdfSegment> pdfStrokedSegments(const QString &pdfPath);
