#include "print_pdf_reader.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtEndian>

QList<PdfTextLine> pdfTextLines(const QString &pdfPath, int *pageCount) {
    QProcess pdftohtml;
    pdftohtml.start(QStringLiteral("pdftohtml"),
                    {QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-stdout"),
                     QStringLiteral("-q"), pdfPath});
    pdftohtml.waitForFinished(30000);
    QList<PdfTextLine> lines;
    if (pageCount) *pageCount = 0;
    QXmlStreamReader xml(pdftohtml.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (pageCount && xml.name() == QLatin1String("page")) ++*pageCount;
        if (xml.name() != QLatin1String("text")) continue;
        PdfTextLine line;
        while (!xml.atEnd() && (xml.readNext() != QXmlStreamReader::EndElement ||
                                xml.name() != QLatin1String("text"))) {
            if (xml.isStartElement() && xml.name() == QLatin1String("b")) line.bold = true;
            if (xml.isCharacters()) line.text += xml.text();
        }
        lines.append(line);
    }
    return lines;
}

// Qt writes each page's drawing as a deflated stream; a stroked straight line there reads
// "x1 y1 m" "x2 y2 l" "S".
QList<PdfSegment> pdfStrokedSegments(const QString &pdfPath) {
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray pdf = file.readAll();
    static const QRegularExpression segment(
        QStringLiteral(R"(([-\d.]+) ([-\d.]+) m\s+([-\d.]+) ([-\d.]+) l\s+S)"));
    QList<PdfSegment> segments;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        at += 7;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0) break;
        QByteArray deflated(4, '\0'); // qUncompress wants a size hint in front; it grows
        qToBigEndian<quint32>(1, deflated.data());
        deflated += pdf.mid(at, end - at);
        const QString content = QString::fromLatin1(qUncompress(deflated));
        for (const auto &match : segment.globalMatch(content)) {
            segments.append({match.captured(1).toDouble(), match.captured(2).toDouble(),
                             match.captured(3).toDouble(), match.captured(4).toDouble()});
        }
        at = end;
    }
    return segments;
}
