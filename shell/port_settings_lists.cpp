#include "port_settings_lists.h"

namespace ravelin {

QStringList portEntries() {
    QStringList entries;
    for (int port = 1; port <= 16; ++port)
        entries << QStringLiteral("Com%1").arg(port);
    return entries;
}

QStringList speedEntries() {
    return {"110",   "300",   "600",   "1200",  "2400",  "4800",   "9600",   "14400",
            "19200", "28800", "38400", "56000", "57600", "115200", "128000", "256000"};
}

QStringList dataBitsEntries() {
    return {"4", "5", "6", "7", "8"};
}

QStringList parityEntries() {
    return {"Even", "Odd", "None", "Mark", "Space"};
}

QStringList stopBitsEntries() {
    return {"1", "1.5", "2"};
}

std::optional<ReportedSettings> readReportedSettings(const QString &s) {
    const qsizetype d = s.contains('.') ? 2 : 0;
    const qsizetype n = s.size();
    // speed: the first n - d - 6 characters; parity at n - d - 4, data bits at n - d - 2
    // (counted from 1); stop bits: the last d + 1 characters.
    if (n - d - 6 < 1) return std::nullopt;
    return ReportedSettings{s.left(n - d - 6), s.at(n - d - 5), QString(s.at(n - d - 3)),
                            s.right(d + 1)};
}

int parityIndexForLetter(QChar letter) {
    static const QString letters = QStringLiteral("eonms");
    return letters.indexOf(letter, 0, Qt::CaseSensitive);
}

} // namespace ravelin
