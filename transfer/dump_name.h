// Naming of the dump file: the name the file dialog proposes and the ".raw" normalisation.
#pragma once

#include <QDateTime>
#include <QString>

namespace ravelin {

// "hhmm" then "MMMddyyyy" in English month names, as 1436Aug012007.
QString proposedDumpName(const QDateTime &localTime);

// A file name containing "." loses its last four characters (never reaching into the folder or
// emptying the name: then it loses what follows its last "."); ".raw" is then appended:
// data.txt -> data.raw, data.raw -> data.raw, 1436Aug012007 -> 1436Aug012007.raw. A "." in a
// folder name does not count.
QString normalisedDumpName(const QString &chosen);

// The converted database the completion status names: the ".raw" name less its last four
// characters, then ".tvd".
QString convertedDatabaseName(const QString &rawName);

} // namespace ravelin
