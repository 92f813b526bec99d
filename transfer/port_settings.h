// The serial line's settings in Qt SerialPort's terms, and their two text forms: the framing
// "speed,parity,data,stop" (e.g. "19200,n,8,1") and the flow-control code 0-3, as the settings
// store and the command line hold them. Reading checks the form only; whether the device can do
// it is decided when the port opens.
#pragma once

#include <QSerialPort>
#include <QString>

namespace ravelin {

// The lists offer two choices Qt SerialPort has no name for: 4 data bits, and both kinds of flow
// control at once.
inline constexpr auto kData4 = QSerialPort::DataBits(4);
inline constexpr auto kBothFlowControls =
    QSerialPort::FlowControl(QSerialPort::HardwareControl | QSerialPort::SoftwareControl);

// The serial upload's speed, whatever the other settings.
inline constexpr qint32 kUploadBaudRate = QSerialPort::Baud57600;

struct PortSettings {
    qint32 baudRate = QSerialPort::Baud9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

    bool operator==(const PortSettings &) const = default;
};

// The framing `text` with `flow`. A speed alone means no parity, 8 data bits, 1 stop bit; the
// parity letter may be upper case. Throws CommError on anything else that is not the full
// four-field form.
PortSettings portSettingsFromText(const QString &text,
                                  QSerialPort::FlowControl flow = QSerialPort::NoFlowControl);

// The full framing with the parity letter in lower case, e.g. "9600,e,7,1.5".
QString framingText(const PortSettings &settings);

// Flow-control codes: 0 none, 1 Xon/Xoff, 2 RTS/CTS, 3 both. Throws CommError on another code.
QSerialPort::FlowControl flowControlFromCode(int code);
int flowControlCode(QSerialPort::FlowControl flow);

// e, o, n, m or s.
char parityLetter(QSerialPort::Parity parity);

// What Linux cannot set of these settings (4 data bits, 1.5 stop bits), naming the setting;
// empty when nothing stands in the way.
QString unavailableOnLinux(const PortSettings &settings);

// A short warning for a flow control that hinders transfers; empty when there is none.
QString flowControlWarning(QSerialPort::FlowControl flow);

} // namespace ravelin
