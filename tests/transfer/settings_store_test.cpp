// The per-user settings store, pointed at a temporary folder.
#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

class SettingsStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

    QString iniPath() const { return folder.filePath("RAVELIN/RAVELIN.ini"); }
    void writeIni(const QByteArray &text) {
        QDir().mkpath(folder.filePath("RAVELIN"));
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

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

    void absentKeysGiveTheDefault() {
        QCOMPARE(GetSetting("COMM", "Settings", "19200"), "19200");
        QCOMPARE(GetSetting("DATAPATH", "LastDir", "c:\\My Documents"), "c:\\My Documents");
        QVERIFY(GetSetting("COMM", "CommPort", QString()).isNull());
    }

    void savedTextComesBackUnchanged_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("settings string") << "19200,n,8,1";
        QTest::newRow("1.5 stop bits") << "19200,n,8,1.5";
        QTest::newRow("number") << "3";
        QTest::newRow("backslashes") << "c:\\My Documents";
        QTest::newRow("non-ASCII folder") << "/home/jürgen/Messdaten Süd/2026";
        QTest::newRow("INI syntax inside") << "[COMM]\nSettings=1;x=\"y\"";
        QTest::newRow("leading at sign") << "@ByteArray(x)";
        QTest::newRow("blanks kept") << "  spaced  ";
        QTest::newRow("empty") << "";
    }
    void savedTextComesBackUnchanged() {
        QFETCH(QString, value);
        QVERIFY(SaveSetting("DATAPATH", "LastDir", value));
        QCOMPARE(GetSetting("DATAPATH", "LastDir", "default"), value);
    }

    void storeIsAnIniFileWithOneSectionPerGroup() {
        QVERIFY(SaveSetting("COMM", "Settings", "19200,n,8,1"));
        QVERIFY(SaveSetting("COMM", "CommPort", "1"));
        QVERIFY(SaveSetting("DATAPATH", "LastDir", "/tmp"));
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("[COMM]\nCommPort=1\nSettings=\"19200,n,8,1\"\n"));
        QVERIFY(text.contains("[DATAPATH]\nLastDir=/tmp\n"));
    }

    void sameKeyInTwoSectionsStaysApart() {
        QVERIFY(SaveSetting("COMM", "Com5", "a"));
        QVERIFY(SaveSetting("PORTS", "Com5", "/dev/ttyUSB9"));
        QCOMPARE(GetSetting("COMM", "Com5", ""), "a");
        QCOMPARE(GetSetting("PORTS", "Com5", ""), "/dev/ttyUSB9");
    }

    void handEditedCommaListReadsAsText() {
        writeIni("[COMM]\nSettings=9600,e,7,2\nHandshaking=2\n");
        QCOMPARE(GetSetting("COMM", "Settings", "19200"), "9600,e,7,2");
        QCOMPARE(GetSetting("COMM", "Handshaking", "1"), "2");
    }

    void damagedFileGivesDefaultsAndIsRepairedBySaving() {
        writeIni(QByteArray("\xff\xfe\x00[COMM\nSettings\x00=\n=\n[", 22));
        QCOMPARE(GetSetting("COMM", "CommPort", "1"), "1");
        QVERIFY(SaveSetting("COMM", "CommPort", "4"));
        QCOMPARE(GetSetting("COMM", "CommPort", "1"), "4");
    }

    void unwritableStoreReportsFailure() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, "/dev/null/none");
        const bool saved = SaveSetting("COMM", "CommPort", "2");
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        QVERIFY(!saved);
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
