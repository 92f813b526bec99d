// The component against a real pseudo-terminal: the test plays the instrument on the master side.
#include "mscomm.h"
#include "mscomm_pty.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace ravelin;

namespace {

constexpr int kWaitMs = 5000;

struct OpenPort {
    PtyPair pty;
    MSComm comm;
    explicit OpenPort(const QString &settings = "19200", int32_t flow = 0) {
        comm.setDevicePathOverride(pty.slavePath());
        comm.setSettings(portSettingsFromText(settings, flowControlFromCode(flow)));
    }
};

QString openFailure(MSComm &comm) {
    try {
        comm.setPortOpen(true);
    } catch (const CommError &e) {
        return e.description();
    }
    return {};
}

} // namespace

class MSCommPtyTest : public QObject {
    Q_OBJECT
  private slots:
    void bytesFromInstrumentArriveOneByOneWithOnComm();
    void bytesToInstrumentGoOutUnchanged();
    void inBufferCountSeesInputWithoutEventLoop();
    void settingInBufferCountToZeroDiscards();
    void staleInputIsDiscardedAtOpen();
    void lineSettingsReachDevice_data();
    void lineSettingsReachDevice();
    void everyListedSpeedIsSetExactly();
    void flowControlReachesDevice_data();
    void flowControlReachesDevice();
    void changesWhileOpenReachDeviceAtOnce();
    void whatLinuxCannotDoFailsAtOpen_data();
    void whatLinuxCannotDoFailsAtOpen();
    void missingDeviceIsNamed();
    void deviceInUseIsNamedWithHint();
    void portNumberIsFixedWhileOpen();
    void vanishedDeviceClosesPortAndSaysSo();
};

void MSCommPtyTest::bytesFromInstrumentArriveOneByOneWithOnComm() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    QVERIFY(p.comm.PortOpen());
    QSignalSpy onComm(&p.comm, &MSComm::OnComm);

    // Every byte value, the flow-control characters included, passes unchanged with flow 0.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QVERIFY(p.pty.send(all));
    QTRY_VERIFY_WITH_TIMEOUT(onComm.count() > 0, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(p.comm.InBufferCount(), 256, kWaitMs);

    QByteArray received;
    while (p.comm.InBufferCount() > 0) {
        const QByteArray one = p.comm.Input();
        QCOMPARE(one.size(), 1);
        received += one;
    }
    QCOMPARE(received, all);
    QVERIFY(p.comm.Input().isEmpty());
}

void MSCommPtyTest::bytesToInstrumentGoOutUnchanged() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    const QByteArray line = QByteArray("S1130000\r\n") + '\x00' + '\x11' + '\x13' + '\xff';
    p.comm.Output(QByteArray(1, '\x06'));
    p.comm.Output(line);
    QCOMPARE(p.pty.receive(line.size() + 1, kWaitMs), QByteArray(1, '\x06') + line);
}

void MSCommPtyTest::inBufferCountSeesInputWithoutEventLoop() {
    // A caller polling in its own loop must see the bytes even before events are processed.
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    QSignalSpy onComm(&p.comm, &MSComm::OnComm);
    QVERIFY(p.pty.send("0000000504"));
    QElapsedTimer clock;
    clock.start();
    while (p.comm.InBufferCount() < 10 && clock.elapsed() < kWaitMs)
        QThread::msleep(5);
    QCOMPARE(p.comm.InBufferCount(), 10);
    QCOMPARE(p.comm.Input(), "0");
    QCOMPARE(onComm.count(), 0); // pulled in quietly, not through the event
}

void MSCommPtyTest::settingInBufferCountToZeroDiscards() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    QVERIFY(p.pty.send("stale bytes"));
    QTRY_COMPARE_WITH_TIMEOUT(p.comm.InBufferCount(), 11, kWaitMs);
    p.comm.setInBufferCount(0);
    QCOMPARE(p.comm.InBufferCount(), 0);
    QVERIFY(p.comm.Input().isEmpty());

    QVERIFY(p.pty.send("N"));
    QTRY_COMPARE_WITH_TIMEOUT(p.comm.InBufferCount(), 1, kWaitMs);
    QCOMPARE(p.comm.Input(), "N");
}

void MSCommPtyTest::staleInputIsDiscardedAtOpen() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    QVERIFY(p.pty.send("left over from before"));
    QTRY_COMPARE_WITH_TIMEOUT(p.pty.bytesWaitingForComponent(), 21, kWaitMs);
    p.comm.setPortOpen(true);
    QCOMPARE(p.comm.InBufferCount(), 0);
}

void MSCommPtyTest::lineSettingsReachDevice_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<unsigned>("speed");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<bool>("markSpace");
    QTest::addColumn<bool>("twoStop");
    // A pseudo-terminal keeps 8 bits without parity enable; the odd and mark/space bits stay.
    QTest::newRow("default") << "19200" << 19200u << false << false << false << false;
    QTest::newRow("110") << "110,n,8,2" << 110u << false << false << false << true;
    QTest::newRow("14400") << "14400,n,8,1" << 14400u << true << false << false << false;
    QTest::newRow("28800") << "28800,e,7,1" << 28800u << true << false << false << false;
    QTest::newRow("56000") << "56000,o,8,1" << 56000u << true << true << false << false;
    QTest::newRow("128000 mark") << "128000,m,8,1" << 128000u << true << true << true << false;
    QTest::newRow("256000 space") << "256000,s,8,2" << 256000u << true << false << true << true;
    QTest::newRow("115200 mark 5 bits")
        << "115200,M,5,2" << 115200u << false << true << true << true;
}

void MSCommPtyTest::lineSettingsReachDevice() {
    QFETCH(QString, settings);
    QFETCH(unsigned, speed);
    QFETCH(bool, custom);
    QFETCH(bool, odd);
    QFETCH(bool, markSpace);
    QFETCH(bool, twoStop);
    OpenPort p(settings);
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    const TtyState s = p.pty.slaveState();
    QCOMPARE(s.ospeed, speed);
    QCOMPARE(s.ispeed, speed);
    QCOMPARE(s.customSpeed, custom);
    QCOMPARE(s.parityOdd, odd);
    QCOMPARE(s.markSpace, markSpace);
    QCOMPARE(s.twoStopBits, twoStop);
}

void MSCommPtyTest::everyListedSpeedIsSetExactly() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    for (unsigned speed : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000,
                           57600, 115200, 128000, 256000}) {
        p.comm.setSettings(portSettingsFromText(QString::number(speed)));
        QCOMPARE(p.pty.slaveState().ospeed, speed);
        QCOMPARE(p.pty.slaveState().ispeed, speed);
    }
}

void MSCommPtyTest::flowControlReachesDevice_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("rtsCts");
    QTest::addColumn<bool>("xonXoff");
    QTest::newRow("none") << 0 << false << false;
    QTest::newRow("Xon/Xoff") << 1 << false << true;
    QTest::newRow("RTS") << 2 << true << false;
    QTest::newRow("Xon/RTS") << 3 << true << true;
}

void MSCommPtyTest::flowControlReachesDevice() {
    QFETCH(int, code);
    QFETCH(bool, rtsCts);
    QFETCH(bool, xonXoff);
    OpenPort p("19200", code);
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    const TtyState s = p.pty.slaveState();
    QCOMPARE(s.rtsCts, rtsCts);
    QCOMPARE(s.xon, xonXoff);
    QCOMPARE(s.xoff, xonXoff);
}

void MSCommPtyTest::changesWhileOpenReachDeviceAtOnce() {
    // The serial upload sets 57600 on a port the OK action may have left with another speed.
    OpenPort p("9600", 3);
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    p.comm.setSettings(portSettingsFromText("57600,S,8,2"));
    TtyState s = p.pty.slaveState();
    QCOMPARE(s.ospeed, 57600u);
    QVERIFY(s.markSpace && s.twoStopBits && !s.rtsCts && !s.xon);

    // Refused while open: the device and the reported settings keep the old ones.
    QVERIFY_THROWS_EXCEPTION(CommError, p.comm.setSettings(portSettingsFromText("57600,n,8,1.5")));
    QCOMPARE(framingText(p.comm.settings()), "57600,s,8,2");
    s = p.pty.slaveState();
    QCOMPARE(s.ospeed, 57600u);
    QVERIFY(s.twoStopBits);
    QVERIFY(p.comm.PortOpen());
}

void MSCommPtyTest::whatLinuxCannotDoFailsAtOpen_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("reason");
    QTest::newRow("1.5 stop bits") << "19200,n,8,1.5"
                                   << "1.5 stop bits are not available on Linux (choose 1 or 2)";
    QTest::newRow("4 data bits") << "19200,n,4,1"
                                 << "4 data bits are not available on Linux (choose 5 to 8)";
}

void MSCommPtyTest::whatLinuxCannotDoFailsAtOpen() {
    QFETCH(QString, settings);
    QFETCH(QString, reason);
    OpenPort p(settings);
    QVERIFY(p.pty.ok());
    QCOMPARE(framingText(p.comm.settings()),
             settings); // accepted as a setting, refused by the device
    QCOMPARE(p.comm.unsupportedSettings(), reason);
    QCOMPARE(openFailure(p.comm), "Cannot open " + p.pty.slavePath() + ": " + reason);
    QVERIFY(!p.comm.PortOpen());
    p.comm.setSettings(portSettingsFromText("19200,n,8,1"));
    QVERIFY(p.comm.unsupportedSettings().isEmpty());
    p.comm.setPortOpen(true);
    QVERIFY(p.comm.PortOpen());
}

void MSCommPtyTest::missingDeviceIsNamed() {
    MSComm comm;
    comm.setDevicePathOverride("/dev/ttyRAVELIN-none");
    const QString failure = openFailure(comm);
    QVERIFY2(failure.startsWith("Cannot open /dev/ttyRAVELIN-none: "), qPrintable(failure));
    QVERIFY(failure.size() > QString("Cannot open /dev/ttyRAVELIN-none: ").size());
    QVERIFY(!comm.PortOpen());
}

void MSCommPtyTest::deviceInUseIsNamedWithHint() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    MSComm second;
    second.setDevicePathOverride(p.pty.slavePath());
    const QString failure = openFailure(second);
    QVERIFY2(failure.startsWith("Cannot open " + p.pty.slavePath() + ": "), qPrintable(failure));
    QVERIFY2(failure.endsWith(" (the device is in use by another program, or this user may not "
                              "use it: add the user to the dialout group)"),
             qPrintable(failure));
    QVERIFY(!second.PortOpen());
    p.comm.setPortOpen(false);
    second.setPortOpen(true); // free again once closed
    QVERIFY(second.PortOpen());
}

void MSCommPtyTest::portNumberIsFixedWhileOpen() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    QVERIFY_THROWS_EXCEPTION(CommError, p.comm.setCommPort(2));
    QCOMPARE(p.comm.CommPort(), 1);
    p.comm.setPortOpen(false);
    p.comm.setCommPort(2);
    QCOMPARE(p.comm.CommPort(), 2);
}

void MSCommPtyTest::vanishedDeviceClosesPortAndSaysSo() {
    OpenPort p;
    QVERIFY(p.pty.ok());
    p.comm.setPortOpen(true);
    QSignalSpy lost(&p.comm, &MSComm::portLost);
    p.pty.closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, kWaitMs);
    QVERIFY(!p.comm.PortOpen());
    QCOMPARE(lost.at(0).at(0).toString(),
             "Lost the connection to " + p.pty.slavePath() + " (device unplugged or hung up)");
    QVERIFY_THROWS_EXCEPTION(CommError, p.comm.Output("x"));
    p.comm.setInBufferCount(0); // the transfer's clean-up still runs
    p.comm.setPortOpen(false);
}

QTEST_GUILESS_MAIN(MSCommPtyTest)
#include "mscomm_pty_test.moc"
