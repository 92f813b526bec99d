#include "help_text.h"

#include <QStringList>

namespace ravelin {

QString helpText() {
    static const QStringList lines = {
        "OPERATING SYSTEM AND DUMP  INFO:",
        "RS232:",
        "1.\tConnect PC to remote unit as shown above",
        "2.\t Power up remote unit.",
        "3. \tGo to dump page and select desired baud rate ( default 19200)",
        "4. \tStart remote unit  DUMP command FIRST",
        "  ",
        "5. \tRun RAVELIN program",
        "6. \tSelect desired COM port and baud rate ( default  Com2,19200,8,1,n)",
        "7. \tTo log Binary data Push START DUMP Button and follow the ON-LINE instructions",
        "8.\tSelected data file will be closed automatically upon EXIT",
        "9.            To reprogram operating system push REPROGRAM SYSTEM button and follow "
        "ON-LINE instructions",
        " ",
        "USB:",
        "1.\tRun RAVELIN program",
        "2.\tSelect check box USB Interface in Com Parameters",
        "3.\tConnect USB cable  to remote unit",
        "4.\tFollow RAVELIN instructions for Dump or O.S. upload",
        "5.\tNo setting required on remote side( unit PWR ON only)",
    };
    QString text;
    for (const QString &line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace ravelin
