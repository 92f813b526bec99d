// MSComm: the serial port component every RS-232 transfer goes through, on top of Qt SerialPort.
// Members keep the names the window and the transfers use. Failures throw CommError with a
// description fit for a message box or the status bar. Works wherever a Qt event loop runs (the
// window, or a QCoreApplication in a command-line tool): input arrives through that loop.
#pragma once

#include "comm_error.h"
#include "port_settings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace ravelin {

class MSComm : public QObject {
    Q_OBJECT
  public:
    explicit MSComm(QObject *parent = nullptr);
    ~MSComm() override;

    // Port number 1..16 (default 1); the device it stands for comes from devicePathForPort().
    // Refused while the port is open.
    int16_t CommPort() const;
    void setCommPort(int16_t port);

    // Speed, framing and flow control; default 9600 bits per second, no parity, 8 data bits, 1 stop
    // bit, no flow control. Set while open, they reach the device at once, or it keeps the old
    // ones and this throws.
    PortSettings settings() const;
    void setSettings(const PortSettings &settings);

    // Opening applies the settings to the device and discards any stale input;
    // throws, naming the device, when it cannot. Opening an open port or closing a closed one
    // does nothing.
    bool PortOpen() const;
    void setPortOpen(bool open);

    // Bytes waiting, at most 32767; 0 while closed. Like Input, it also takes in bytes the event
    // loop has not delivered yet; those raise no OnComm. Setting 0 discards what is waiting (also
    // harmless while closed); other values are refused.
    int16_t InBufferCount() const;
    void setInBufferCount(int16_t count);

    // Removes and returns exactly one waiting byte; empty when nothing waits. Throws when closed.
    QByteArray Input();
    // Each byte goes out unchanged. Throws when closed.
    void Output(const QByteArray &bytes);

    // Device path of the current CommPort (see port_names.h); a test may set one directly, an
    // empty path returns to the port's own device.
    QString devicePath() const;
    void setDevicePathOverride(const QString &path);

    // What Linux cannot do with the current settings (4 data bits, 1.5 stop bits), as the text
    // opening the port would give after the device name; empty when nothing stands in the way.
    QString unsupportedSettings() const;

  signals:
    void OnComm(); // input has arrived
    // The open device failed (unplugged adapter, hang-up): the port is closed by then.
    void portLost(const QString &description);

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace ravelin
