#include "port_settings_lists.h"

#include "port_settings.h"

namespace ravelin {

QStringList portEntries() {
    QStringList entries;
    for (int port = 1; port <= 16; ++port)
        entries << QStringLiteral("Com%1").arg(port);
    return entries;
}

QList<ListEntry> speedEntries() {
    QList<ListEntry> entries;
    for (int speed : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000,
                      57600, 115200, 128000, 256000})
        entries.append({QString::number(speed), speed});
    return entries;
}

QList<ListEntry> dataBitsEntries() {
    return {{"4", kData4},
            {"5", QSerialPort::Data5},
            {"6", QSerialPort::Data6},
            {"7", QSerialPort::Data7},
            {"8", QSerialPort::Data8}};
}

QList<ListEntry> parityEntries() {
    return {{"Even", QSerialPort::EvenParity},
            {"Odd", QSerialPort::OddParity},
            {"None", QSerialPort::NoParity},
            {"Mark", QSerialPort::MarkParity},
            {"Space", QSerialPort::SpaceParity}};
}

QList<ListEntry> stopBitsEntries() {
    return {{"1", QSerialPort::OneStop},
            {"1.5", QSerialPort::OneAndHalfStop},
            {"2", QSerialPort::TwoStop}};
}

} // namespace ravelin
