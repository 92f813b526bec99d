#include "port_names.h"

#include "settings_store.h"

#include <QCollator>
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
    QCollator collator;
    collator.setNumericMode(true); // ttyS2 before ttyS10
    std::sort(devices.begin(), devices.end(), collator);
    devices.removeDuplicates();
    return devices;
}

} // namespace ravelin
