// The port settings string "speed,parity,data,stop" (e.g. "19200,n,8,1"), parsed and formatted.
// Parsing checks the form only; whether the device can do it is decided when the port opens.
#pragma once

#include <QString>

namespace ravelin {

enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    int speed = 19200; // bits per second
    char parity = 'n'; // always lower case: e, o, n, m or s
    int dataBits = 8;  // 4 to 8
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings &) const = default;
};

// A speed alone means no parity, 8 data bits, 1 stop bit. Throws CommError on anything else that
// is not the full four-field form.
LineSettings parseLineSettings(const QString &text);

// What Linux cannot set of these settings (4 data bits, 1.5 stop bits), naming the setting;
// empty when nothing stands in the way.
QString unavailableOnLinux(const LineSettings &settings);

// The full form with the parity letter in lower case, e.g. "9600,e,7,1.5".
QString formatLineSettings(const LineSettings &settings);

} // namespace ravelin
