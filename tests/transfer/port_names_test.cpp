// Port numbers to devices: the documented default, the per-user override, and the component
// opening the device a port number stands for.
#include "mscomm.h"
#include "mscomm_pty.h"
#include "port_names.h"
#include "settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

class PortNamesTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

  private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    }
    void init() {
        // Through QSettings, so its cache of the file is emptied as well.
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "RAVELIN", "RAVELIN");
        store.clear();
        store.sync();
    }

    void defaultDevicesOfAllSixteenPorts() {
        const QStringList expected = {
            "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
            "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3",
            "/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyACM2", "/dev/ttyACM3",
            "/dev/ttyS4",   "/dev/ttyS5",   "/dev/ttyS6",   "/dev/ttyS7",
        };
        for (int port = 1; port <= kPortCount; ++port) {
            QCOMPARE(devicePathForPort(port), expected[port - 1]);
            QCOMPARE(defaultDevicePathForPort(port), expected[port - 1]);
        }
        for (int outside : {0, -1, 17})
            QVERIFY(devicePathForPort(outside).isEmpty());
    }

    void perUserSettingNamesThePortsDevice() {
        QVERIFY(SaveSetting("PORTS", "Com5", " /dev/serial/by-id/usb-adapter "));
        QVERIFY(SaveSetting("PORTS", "Com6", "   ")); // blank: the default stays
        QCOMPARE(devicePathForPort(5), "/dev/serial/by-id/usb-adapter");
        QCOMPARE(devicePathForPort(6), "/dev/ttyUSB1");
        QCOMPARE(defaultDevicePathForPort(5), "/dev/ttyUSB0");
        QCOMPARE(devicePathForPort(4), "/dev/ttyS3");
    }

    void componentOpensTheDeviceItsPortNumberStandsFor() {
        PtyPair pty;
        QVERIFY(pty.ok());
        QVERIFY(SaveSetting("PORTS", "Com12", pty.slavePath()));
        MSComm comm;
        QCOMPARE(comm.devicePath(), "/dev/ttyS0");
        comm.setCommPort(12);
        QCOMPARE(comm.devicePath(), pty.slavePath());
        comm.setPortOpen(true);
        comm.Output("\x06");
        QCOMPARE(pty.receive(1, 5000), "\x06");
        comm.setPortOpen(false);

        comm.setDevicePathOverride("/dev/null");
        QCOMPARE(comm.devicePath(), "/dev/null");
        comm.setDevicePathOverride(QString());
        QCOMPARE(comm.devicePath(), pty.slavePath());
    }

    void devicesAreListedInNaturalOrderOnce() {
        QCOMPARE(inListingOrder({"/dev/ttyUSB10", "/dev/ttyS10", "/dev/ttyUSB2", "/dev/ttyS2",
                                 "/dev/ttyACM0", "/dev/ttyS2", "/dev/ttyS1"}),
                 (QStringList{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10",
                              "/dev/ttyUSB2", "/dev/ttyUSB10"}));
        for (const QString &device : presentSerialDevices())
            QVERIFY2(QFileInfo::exists(device), qPrintable(device));
    }
};

QTEST_GUILESS_MAIN(PortNamesTest)
#include "port_names_test.moc"
