#include "mscomm.h"

#include "port_names.h"
#include "tty_line.h"

#include <QScopedValueRollback>
#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <poll.h>
#include <sys/ioctl.h>

namespace ravelin {

namespace {

constexpr int16_t kMaxInBufferCount = 32767;

TtyRequest ttyRequest(const PortSettings &settings) {
    TtyRequest request;
    request.speed = static_cast<unsigned>(settings.baudRate);
    request.dataBits = settings.dataBits;
    request.parity = parityLetter(settings.parity);
    request.twoStopBits = settings.stopBits == QSerialPort::TwoStop;
    request.rtsCts = settings.flowControl & QSerialPort::HardwareControl;
    request.xonXoff = settings.flowControl & QSerialPort::SoftwareControl;
    return request;
}

} // namespace

struct MSComm::Impl {
    QSerialPort port;
    int16_t commPort = 1;
    PortSettings settings;
    QString pathOverride;
    bool quiet = false; // set while input is pulled in outside the event loop
    bool lossPending = false;

    QString openPath; // the device as it was when the port opened

    QString path() const {
        if (port.isOpen()) return openPath;
        return pathOverride.isEmpty() ? devicePathForPort(commPort) : pathOverride;
    }

    // Throws with `action` ("Cannot open /dev/ttyS0") in front of what went wrong.
    void applyToDevice(const PortSettings &wanted, const QString &action) {
        const QString limitation = unavailableOnLinux(wanted);
        if (!limitation.isEmpty()) throw CommError(action + QStringLiteral(": ") + limitation);
        const std::string problem = applyTtyRequest(port.handle(), ttyRequest(wanted));
        if (!problem.empty())
            throw CommError(action + QStringLiteral(": ") + QString::fromStdString(problem));
    }

    // Settings changed while open: the device gets them now or keeps the old ones.
    void reapply(const PortSettings &wanted) {
        try {
            applyToDevice(wanted, QStringLiteral("Cannot apply the settings to ") + path());
        } catch (const CommError &) {
            applyTtyRequest(port.handle(), ttyRequest(settings));
            throw;
        }
    }

    // Moves bytes the kernel holds into the port's buffer without waiting for the event loop.
    void pullWaitingInput() {
        int queued = 0;
        if (ioctl(port.handle(), FIONREAD, &queued) != 0 || queued <= 0) return;
        QScopedValueRollback<bool> silence(quiet, true);
        port.waitForReadyRead(0);
        if (port.error() == QSerialPort::TimeoutError) port.clearError();
    }

    bool deviceHungUp() const {
        pollfd p{static_cast<int>(port.handle()), POLLIN, 0};
        return poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    }

    [[noreturn]] void throwClosed(const char *what) const {
        throw CommError(
            QStringLiteral("Cannot %1: the port %2 is not open").arg(QLatin1String(what), path()));
    }
};

MSComm::MSComm(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {
    connect(&d->port, &QSerialPort::readyRead, this, [this] {
        if (!d->quiet) emit OnComm();
    });
    // A vanished device (unplugged adapter, hang-up) shows as a read or resource error that Qt
    // repeats for as long as the port stays open.
    connect(&d->port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if ((e != QSerialPort::ReadError && e != QSerialPort::ResourceError) || d->lossPending)
            return;
        if (!d->deviceHungUp()) { // a read that found nothing: no harm done
            d->port.clearError();
            return;
        }
        d->lossPending = true;
        // Closed from the event loop: the port is still inside its own notification here.
        QTimer::singleShot(0, this, [this] {
            d->lossPending = false;
            if (!d->port.isOpen()) return;
            d->port.close();
            emit portLost(QStringLiteral("Lost the connection to %1 (device unplugged or hung up)")
                              .arg(d->path()));
        });
    });
}

MSComm::~MSComm() {
    // The handlers above use d; none may run while it is being torn down.
    d->port.disconnect(this);
    d->port.close();
}

int16_t MSComm::CommPort() const {
    return d->commPort;
}

void MSComm::setCommPort(int16_t port) {
    if (port < 1 || port > kPortCount)
        throw CommError(
            QStringLiteral("Invalid port number %1: choose 1 to %2").arg(port).arg(kPortCount));
    if (port == d->commPort) return;
    if (d->port.isOpen())
        throw CommError(QStringLiteral("Close Com%1 (%2) before choosing another port")
                            .arg(d->commPort)
                            .arg(d->path()));
    d->commPort = port;
}

PortSettings MSComm::settings() const {
    return d->settings;
}

void MSComm::setSettings(const PortSettings &settings) {
    if (d->port.isOpen()) d->reapply(settings);
    d->settings = settings;
}

bool MSComm::PortOpen() const {
    return d->port.isOpen();
}

void MSComm::setPortOpen(bool open) {
    if (open == d->port.isOpen()) return;
    if (!open) {
        d->port.close();
        return;
    }
    const QString path = d->path();
    if (path.isEmpty())
        throw CommError(
            QStringLiteral("Cannot open Com%1: no device is set for it").arg(d->commPort));
    const QString action = QStringLiteral("Cannot open ") + path;
    const QString limitation = unavailableOnLinux(d->settings);
    if (!limitation.isEmpty()) throw CommError(action + QStringLiteral(": ") + limitation);

    d->openPath = path;
    d->port.setPortName(path);
    if (!d->port.open(QIODevice::ReadWrite)) {
        QString reason = d->port.errorString();
        if (d->port.error() == QSerialPort::PermissionError)
            reason += QStringLiteral(" (the device is in use by another program, or this user "
                                     "may not use it: add the user to the dialout group)");
        throw CommError(action + QStringLiteral(": ") + reason);
    }
    try {
        d->applyToDevice(d->settings, action);
    } catch (const CommError &) {
        d->port.close();
        throw;
    }
    d->port.clear(QSerialPort::Input);
}

int16_t MSComm::InBufferCount() const {
    if (!d->port.isOpen()) return 0;
    d->pullWaitingInput();
    return static_cast<int16_t>(std::min<qint64>(d->port.bytesAvailable(), kMaxInBufferCount));
}

void MSComm::setInBufferCount(int16_t count) {
    if (count != 0)
        throw CommError(QStringLiteral("InBufferCount can only be set to 0 (discard the input)"));
    if (d->port.isOpen()) d->port.clear(QSerialPort::Input);
}

QByteArray MSComm::Input() {
    if (!d->port.isOpen()) d->throwClosed("read");
    if (d->port.bytesAvailable() == 0) d->pullWaitingInput();
    return d->port.read(1);
}

void MSComm::Output(const QByteArray &bytes) {
    if (!d->port.isOpen()) d->throwClosed("send");
    if (d->port.write(bytes) != bytes.size())
        throw CommError(
            QStringLiteral("Cannot send to %1: %2").arg(d->path(), d->port.errorString()));
    d->port.flush(); // out now; what the driver cannot take yet follows from the event loop
}

QString MSComm::devicePath() const {
    return d->path();
}

void MSComm::setDevicePathOverride(const QString &path) {
    d->pathOverride = path;
}

QString MSComm::unsupportedSettings() const {
    return unavailableOnLinux(d->settings);
}

} // namespace ravelin
