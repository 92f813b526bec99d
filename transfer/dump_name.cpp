#include "dump_name.h"

#include <QLocale>

namespace ravelin {

QString proposedDumpName(const QDateTime &localTime) {
    const QLocale c = QLocale::c();
    return c.toString(localTime, "hhmm") + c.toString(localTime, "MMMddyyyy");
}

QString normalisedDumpName(const QString &chosen) {
    QString name = chosen;
    const qsizetype ownNameStart = name.lastIndexOf('/') + 1;
    const qsizetype lastDot = name.lastIndexOf('.');
    if (lastDot >= ownNameStart) {
        // Cutting four characters must neither leave an empty name nor reach into the folder.
        if (name.size() - 4 > ownNameStart)
            name.chop(4);
        else
            name.truncate(lastDot);
    }
    return name + ".raw";
}

QString convertedDatabaseName(const QString &rawName) {
    QString name = rawName;
    name.chop(4);
    return name + ".tvd";
}

} // namespace ravelin
