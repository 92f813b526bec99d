// One running copy per user: the first copy listens on a per-user local socket; a later copy
// finds it there and can ask it to bring its window to the front.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace ravelin {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QString serverName = defaultServerName(), QObject *parent = nullptr);

    // In $XDG_RUNTIME_DIR when the session has one, else a name carrying the user id.
    static QString defaultServerName();

    // True when no other copy runs; this copy then listens and answers raise requests.
    // A socket left behind by a copy that died is taken over.
    bool becomePrimary();

    // Asks the running copy to bring its window to the front; true once it has confirmed.
    bool askRunningCopyToRaise(int timeoutMs = 3000) const;

  signals:
    void raiseRequested();

  private:
    void answer();

    QString serverName_;
    QLocalServer server_;
};

} // namespace ravelin
