// A pseudo-terminal pair for serial tests: the component opens the slave by its path, the test
// plays the instrument on the master. Also reads back what the slave's line settings became.
#pragma once

#include <QByteArray>
#include <QString>

struct TtyState {
    unsigned ispeed = 0;
    unsigned ospeed = 0;
    bool customSpeed = false; // BOTHER: a speed without a classic Bxxx code
    bool parityOdd = false;
    bool markSpace = false; // CMSPAR
    bool twoStopBits = false;
    bool rtsCts = false;
    bool xon = false;
    bool xoff = false;
};

class PtyPair {
  public:
    PtyPair(); // the test fails (QVERIFY) through ok() when no pty can be had
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool ok() const { return master >= 0 && slave >= 0; }
    QString slavePath() const { return path; }

    bool send(const QByteArray &bytes);       // instrument -> component
    QByteArray receive(int count, int msecs); // component -> instrument, up to count bytes
    int bytesWaitingForComponent() const;     // sent, not yet read on the slave side
    void closeMaster();

    TtyState slaveState() const; // TCGETS2 on the slave side

  private:
    int master = -1;
    int slave = -1; // kept open so the line settings stay readable
    QString path;
};
