#include "single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <unistd.h>

namespace ravelin {

namespace {
const QByteArray kRaiseRequest = "raise\n";
const QByteArray kRaised = "raised\n";

bool someoneListens(const QString &name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(1000);
}
} // namespace

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent), serverName_(std::move(serverName)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

QString SingleInstance::defaultServerName() {
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir())
        return QDir(runtimeDir).filePath(QStringLiteral("RAVELIN.instance"));
    return QStringLiteral("RAVELIN.instance-%1").arg(::getuid());
}

bool SingleInstance::becomePrimary() {
    // Listening replaces a socket file that is already there, so look for a listener first.
    if (someoneListens(serverName_)) return false;
    if (server_.listen(serverName_)) return true;
    // Nobody answers: the socket file is a leftover of a copy that ended abnormally.
    QLocalServer::removeServer(serverName_);
    return server_.listen(serverName_) || !someoneListens(serverName_);
}

bool SingleInstance::askRunningCopyToRaise(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaiseRequest);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return reply == kRaised;
}

void SingleInstance::answer() {
    while (QLocalSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() == kRaiseRequest) {
                emit raiseRequested();
                socket->write(kRaised);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace ravelin
