// Splits a text file's bytes into lines the way the survey text file is read back: a line ends
// at "\r\n", "\r" or "\n"; a line end at the very end of the file opens no further line. Bytes
// are kept as they are (no encoding conversion), so nothing in a damaged file can trip us.
#pragma once

#include <QByteArray>
#include <QList>

namespace ravelin {

inline QList<QByteArray> splitTextLines(const QByteArray &text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.append(text.mid(start));
    return lines;
}

} // namespace ravelin
