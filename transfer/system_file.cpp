#include "system_file.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ravelin {

double leadingNumber(const QByteArray &line) {
    const QByteArray text = line.trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    while (end < text.size() && (std::isdigit(uchar(text[end])) || text[end] == '.'))
        ++end;
    bool ok = false;
    const double value = text.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}

static QList<QByteArray> splitLines(const QByteArray &content) {
    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // the last line end
    for (QByteArray &line : lines)
        if (line.endsWith('\r')) line.chop(1);
    return lines;
}

SystemFile readSystemFile(const QString &path, bool usbPackets) {
    SystemFile result;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QString("Upload refused: cannot read %1: %2").arg(name, file.errorString());
        return result;
    }
    QList<QByteArray> lines = splitLines(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        result.error = QString("Upload refused: cannot read %1: %2").arg(name, file.errorString());
        return result;
    }
    const double announced = lines.isEmpty() ? 0.0 : std::round(leadingNumber(lines.first()));
    if (!lines.isEmpty()) lines.removeFirst();
    if (announced < 1 || announced > lines.size() ||
        announced > std::numeric_limits<int16_t>::max()) {
        result.error = QString("Upload refused: line 1 of %1 must give the number of lines that "
                               "follow (1 to %2)")
                           .arg(name)
                           .arg(lines.size());
        return result;
    }
    if (usbPackets) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].size() > kLongestUsbLine) {
                result.error = QString("Upload refused: line %1 of %2 is longer than %3 "
                                       "characters")
                                   .arg(i + 2)
                                   .arg(name)
                                   .arg(kLongestUsbLine);
                return result;
            }
            if (lines[i].size() > kUsbPacketSize) ++result.linesCut;
        }
    }
    result.LineTotal = int16_t(announced);
    result.lines = std::move(lines);
    return result;
}

} // namespace ravelin
