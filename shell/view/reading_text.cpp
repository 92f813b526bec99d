#include "reading_text.h"

#include <QCoreApplication>

QString readingValuesText(const survey::IpReading &r) {
    return QCoreApplication::translate(
               "ViewPage", "X %1  n %2  dN %3\nRo %4 ohm.m  Stdev %5\nVp %6  Itx %7  SP %8")
        .arg(r.x)
        .arg(r.n)
        .arg(r.dn)
        .arg(r.ro, 0, 'f', 3)
        .arg(r.stdev, 0, 'f', 3)
        .arg(r.vp, 0, 'f', 3)
        .arg(r.itx, 0, 'f', 3)
        .arg(r.sp);
}
