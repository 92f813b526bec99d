// Port numbers 1..16 ("Com1".."Com16" in the window) and the Linux devices they stand for.
//
// The per-user setting "PORTS"/"ComN" names the device of port N when present. Otherwise:
//   Com1  - Com4   /dev/ttyS0   - /dev/ttyS3    (serial ports on the board)
//   Com5  - Com8   /dev/ttyUSB0 - /dev/ttyUSB3  (USB serial adapters)
//   Com9  - Com12  /dev/ttyACM0 - /dev/ttyACM3  (USB modem-class adapters)
//   Com13 - Com16  /dev/ttyS4   - /dev/ttyS7    (add-in serial cards)
#pragma once

#include <QString>
#include <QStringList>

namespace ravelin {

constexpr int kPortCount = 16;

// The device path of port 1..16; empty for any other number.
QString devicePathForPort(int port);

// The default device of port 1..16 (no per-user setting consulted); empty for any other number.
QString defaultDevicePathForPort(int port);

// The serial devices present on this machine, as device paths in listing order.
QStringList presentSerialDevices();

// Device paths in listing order: numbers inside names compare as numbers (ttyS2 before ttyS10),
// each path once.
QStringList inListingOrder(QStringList devices);

} // namespace ravelin
