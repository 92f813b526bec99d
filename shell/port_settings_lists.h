// The entries of the Com Parameters lists, in the order they are shown, each with the value it
// stands for.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace ravelin {

struct ListEntry {
    QString text;
    int value;
};

QStringList portEntries();          // "Com1" .. "Com16"
QList<ListEntry> speedEntries();    // bits per second
QList<ListEntry> dataBitsEntries(); // QSerialPort::DataBits, and kData4
QList<ListEntry> parityEntries();   // QSerialPort::Parity
QList<ListEntry> stopBitsEntries(); // QSerialPort::StopBits

} // namespace ravelin
