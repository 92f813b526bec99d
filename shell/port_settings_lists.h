// The entries of the Com Parameters lists, in the order they are shown, and the reading of a
// reported port settings string ("19200,n,8,1", "19200,n,8,1.5") into those entries.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ravelin {

QStringList portEntries(); // "Com1" .. "Com16"
QStringList speedEntries();
QStringList dataBitsEntries();
QStringList parityEntries();
QStringList stopBitsEntries();

struct ReportedSettings {
    QString speed;
    QChar parityLetter; // as reported; only e, o, n, m, s pick a parity entry
    QString dataBits;
    QString stopBits;
};

// Reads the fields by their places counted from the end, the way the component reports them.
// Empty when the string is too short to hold the four fields.
std::optional<ReportedSettings> readReportedSettings(const QString &settings);

// The parity entry for a reported letter (exact, lower case), or -1.
int parityIndexForLetter(QChar letter);

} // namespace ravelin
