// The Com Parameters page's choice as one plain value: what OK applies and stores and what the
// upload starts from. The port settings string is built here and nowhere else.
#pragma once

#include <QString>
#include <cstdint>

namespace ravelin {

struct PortSettings {
    int16_t port = 1;        // 1..16, the cboPort entry + 1
    QString speed;           // the speed entry, e.g. "19200"
    QString parity;          // the parity entry, e.g. "None"
    QString dataBits;        // "4" .. "8"
    QString stopBits;        // "1", "1.5" or "2"
    int16_t flowControl = 0; // 0 none, 1 Xon/Xoff, 2 RTS, 3 Xon/RTS

    // Speed, the parity entry's first letter, data bits and stop bits, trimmed and separated
    // by commas: 19200,N,8,1.
    QString settingsText() const {
        return speed.trimmed() + QLatin1Char(',') + parity.left(1) + QLatin1Char(',') +
               dataBits.trimmed() + QLatin1Char(',') + stopBits.trimmed();
    }
};

} // namespace ravelin
