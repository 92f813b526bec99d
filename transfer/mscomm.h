// MSComm: the serial port component every RS-232 transfer goes through, on top of Qt SerialPort.
// Members keep the names the window and the transfers use. Failures throw CommError with a
// description fit for a message box or the status bar.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace ravelin {

class CommError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class MSComm : public QObject {
    Q_OBJECT
  public:
    explicit MSComm(QObject *parent = nullptr);
    ~MSComm() override;

    // Port number 1..16; the device it stands for comes from devicePathForPort().
    int16_t CommPort() const;
    void setCommPort(int16_t port);

    // "speed,parity,data,stop", e.g. "19200,n,8,1"; a speed alone means n,8,1. Checked when set
    // (throws on a malformed string), reported back in full, parity lower-case.
    QString Settings() const;
    void setSettings(const QString &settings);

    // Flow control: 0 none, 1 Xon/Xoff, 2 RTS/CTS, 3 both.
    int32_t Handshaking() const;
    void setHandshaking(int32_t code);

    // Opening applies Settings and Handshaking to the device; throws when it cannot.
    bool PortOpen() const;
    void setPortOpen(bool open);

    int16_t InBufferCount() const;
    void setInBufferCount(int16_t count); // 0 discards what is waiting

    QByteArray Input();                   // removes and returns exactly one waiting byte
    void Output(const QByteArray &bytes); // each byte goes out unchanged

    // Device path of the current CommPort (see port_names.h); a test may set one directly.
    QString devicePath() const;
    void setDevicePathOverride(const QString &path);

  signals:
    void OnComm(); // input has arrived

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace ravelin
