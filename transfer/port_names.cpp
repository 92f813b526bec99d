#include "port_names.h"

#include "settings_store.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace ravelin {

QString defaultDevicePathForPort(int port) {
    if (port < 1 || port > kPortCount) return {};
    static const char *const families[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"};
    static const int firstIndex[] = {0, 0, 0, 4};
    const int group = (port - 1) / 4;
    return QLatin1String(families[group]) + QString::number(firstIndex[group] + (port - 1) % 4);
}

QString devicePathForPort(int port) {
    if (port < 1 || port > kPortCount) return {};
    const QString configured =
        GetSetting(QStringLiteral("PORTS"), QStringLiteral("Com%1").arg(port), QString()).trimmed();
    return configured.isEmpty() ? defaultDevicePathForPort(port) : configured;
}

QStringList presentSerialDevices() {
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return inListingOrder(devices);
}

namespace {

// The run of digits starting at `from`, without its leading zeros; `from` moves past the run.
QStringView numberAt(QStringView name, qsizetype &from) {
    const qsizetype start = from;
    while (from < name.size() && name[from].isDigit())
        ++from;
    QStringView digits = name.mid(start, from - start);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

// Character by character, except that runs of digits compare by their value. Written out
// rather than left to QCollator, whose numeric mode does nothing in the C locale.
bool listedBefore(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = numberAt(a, i), y = numberAt(b, j);
            if (x.size() != y.size()) return x.size() < y.size();
            if (const int order = x.compare(y); order != 0) return order < 0;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QStringList inListingOrder(QStringList devices) {
    std::sort(devices.begin(), devices.end(), listedBefore); // ttyS2 before ttyS10
    devices.removeDuplicates();
    return devices;
}

} // namespace ravelin
