// The serial dump and upload procedures end to end against an instrument played in the test
// process: timers, the wait loops, files and what the window is told.
#include "dump_fakes.h"
#include "transfer_engine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

namespace {

// The instrument's side of the dump: the header on the first 0x06, then a block per 0x06 and
// the same block again per 0x0F. Blocks numbered in corruptFirstTry go out damaged once.
struct DumpInstrument {
    QByteArray image;
    qint64 announced = 0;
    QList<int> corruptFirstTry;
    bool headerSent = false;
    int current = -1;
    int repeatsAsked = 0;

    QByteArray block(int n, bool damaged) const {
        QByteArray b = dumpBlock(image.mid(qsizetype(n) * kBlockData, kBlockData));
        if (damaged) b[7] = char(b[7] ^ 0x40);
        return b;
    }
    QByteArray operator()(const QByteArray &sent) {
        QByteArray out;
        for (char c : sent) {
            if (!headerSent) {
                if (c == char(kReady)) out += lengthHeader(announced), headerSent = true;
            } else if (c == char(kReady)) {
                ++current;
                if (current * kBlockData < image.size())
                    out += block(current, corruptFirstTry.removeAll(current) > 0);
            } else if (c == char(kRepeat) && current >= 0) {
                ++repeatsAsked;
                out += block(current, false);
            }
        }
        return out;
    }
};

} // namespace

class DumpSerialTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakePort *port = nullptr;
    QTimer *timer1 = nullptr, *timer2 = nullptr;
    RecordingSink sink;
    TransferEngine *engine = nullptr;

    QString target(const QString &name) { return dir.filePath(name); }

  private slots:
    void init() {
        port = new FakePort;
        timer1 = new QTimer;
        timer2 = new QTimer;
        sink = RecordingSink{};
        engine = new TransferEngine(*port, *timer1, *timer2, sink);
        connect(port, &FakePort::OnComm, engine, &TransferEngine::takeInput);
        timer1->setInterval(10);
        timer2->setInterval(200);
    }
    void cleanup() {
        delete engine;
        delete timer1;
        delete timer2;
        delete port;
    }

    void dumpReplacesTheFileAndNamesTheConvertedDatabase() {
        const QString raw = target("survey.raw");
        QFile old(raw);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'o'));
        old.close();
        DumpInstrument instrument{memoryImage(1000), 1000, {1, 3}};
        port->instrument = std::ref(instrument);

        QCOMPARE(engine->startDump(raw, false), TransferOutcome::Completed);
        QCOMPARE(contents(raw), memoryImage(1000) + QByteArray(8, char(0xFF)));
        QCOMPARE(instrument.repeatsAsked, 2);
        QCOMPARE(sink.statuses.first(), QString("Syncronizing...."));
        QCOMPARE(sink.statuses.last(), "Upload Finished,  File saved: " + target("survey.tvd"));
        QCOMPARE(sink.dumpButton, (QList<bool>{false, true}));
        QCOMPARE(sink.beeps, 1);
        QVERIFY(!port->open);
        QCOMPARE(port->opens, 1);
        QVERIFY(!timer1->isActive() && !timer2->isActive());
        QVERIFY(!QFile::exists(raw + ".partial"));
    }

    // Before the header there is nothing to ask for again: only ready bytes go out (an
    // instrument that queued a 0x0F would answer it later with a repeated block).
    void silentInstrumentGetsOnlyReadyBytesUntilItAnswers() {
        int ready = 0, repeat = 0;
        port->instrument = [&](const QByteArray &sent) {
            ready += int(sent.count(char(kReady)));
            repeat += int(sent.count(char(kRepeat)));
            return ready >= 60 ? lengthHeader(0) : QByteArray();
        };
        const QString raw = target("empty.raw");
        QCOMPARE(engine->startDump(raw, false), TransferOutcome::MemoryEmpty);
        QCOMPARE(repeat, 0);
        QVERIFY(sink.statuses.contains("Syncronizing.... start DUMP on the instrument"));
        QCOMPARE(sink.messages, QStringList{"Error|Data Memory Empty"});
        QCOMPARE(sink.lastStatus(), QString("Dump Aborted"));
        QVERIFY(!QFile::exists(raw));
        QVERIFY(!QFile::exists(raw + ".partial"));
        QVERIFY(!port->open);
    }

    void portThatWillNotOpenIsReported() {
        port->refuseOpen = "Cannot open /dev/ttyS9: No such file or directory";
        const QString raw = target("noport.raw");
        QCOMPARE(engine->startDump(raw, false), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(),
                 QString("Dump Aborted: Cannot open /dev/ttyS9: No such file or directory"));
        QVERIFY(sink.dumpButton.last());
        QVERIFY(!QFile::exists(raw + ".partial"));
        QVERIFY(!timer1->isActive());
    }

    void failingWriteEndsTheDump() {
        const QString raw = target("full.raw");
        QVERIFY(QFile::link("/dev/full", raw + ".partial"));
        DumpInstrument instrument{memoryImage(70000), 70000, {}};
        port->instrument = std::ref(instrument);
        QCOMPARE(engine->startDump(raw, false), TransferOutcome::Failed);
        QVERIFY2(sink.lastStatus().startsWith("Dump Aborted: cannot write " + raw + ".partial"),
                 qPrintable(sink.lastStatus()));
        QVERIFY(!QFile::exists(raw));
        QVERIFY(!port->open);
    }

    void portLostEndsTheDump() {
        port->instrument = [&](const QByteArray &) {
            QMetaObject::invokeMethod(
                engine, [this] { engine->portLost("/dev/ttyUSB0 was unplugged"); },
                Qt::QueuedConnection);
            return lengthHeader(504);
        };
        const QString raw = target("lost.raw");
        QCOMPARE(engine->startDump(raw, false), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), QString("Dump Aborted: /dev/ttyUSB0 was unplugged"));
        QVERIFY(!QFile::exists(raw + ".partial")); // nothing was received
    }

    void stopKeepsWhatArrivedAndNamesIt() {
        DumpInstrument instrument{memoryImage(2520), 2520, {}};
        port->instrument = [&](const QByteArray &sent) {
            if (instrument.current == 2) engine->stop();
            return instrument(sent);
        };
        const QString raw = target("aborted.raw");
        QCOMPARE(engine->startDump(raw, false), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(),
                 "Dump Aborted: stopped by the operator; what arrived is kept in " + raw +
                     ".partial");
        QVERIFY(!QFile::exists(raw));
        QCOMPARE(contents(raw + ".partial").size() % kBlockData, 0);
        QVERIFY(contents(raw + ".partial").size() >= 2 * kBlockData);
        QVERIFY(memoryImage(2520).startsWith(contents(raw + ".partial")));
    }

    void secondTransferWhileOneRunsIsRefused() {
        port->instrument = [&](const QByteArray &) {
            QMetaObject::invokeMethod(
                engine,
                [this] {
                    QCOMPARE(engine->startUpload(target("x.sys"), false, {}),
                             TransferOutcome::Failed);
                },
                Qt::QueuedConnection);
            return lengthHeader(0);
        };
        QCOMPARE(engine->startDump(target("busy.raw"), false), TransferOutcome::MemoryEmpty);
        QVERIFY(sink.statuses.contains("Another transfer is running; wait for it to end"));
    }

    void uploadSendsEveryLineInOrderAtItsOwnSettings() {
        const QString sys = target("new.sys");
        QFile f(sys);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3\r\nFIRST\r\nSECOND\r\nTHIRD\r\nEXTRA\r\n");
        f.close();
        QByteArray received;
        int lines = 0;
        port->instrument = [&](const QByteArray &sent) -> QByteArray {
            if (sent == QByteArray(1, char(kReady))) return lines == 0 ? "\x11\x11" : "";
            received += sent;
            ++lines;
            return lines == 2 ? "\x0F\x11" : "\x13\x11"; // a repeat request, a stray byte
        };
        const PortSettings given = portSettingsFromText("9600,e,7,2", QSerialPort::HardwareControl);
        QCOMPARE(engine->startUpload(sys, false, given), TransferOutcome::Completed);
        QCOMPARE(framingText(port->settings), QString("57600,e,7,2")); // only the speed is its own
        QCOMPARE(port->settings.flowControl, QSerialPort::HardwareControl);
        QCOMPARE(received, QByteArray("FIRST\r\nSECOND\r\nSECOND\r\nTHIRD\r\n"));
        QCOMPARE(sink.statuses, (QStringList{"Syncronizing....", "ON-LINE...",
                                             "New Operating System Downloaded, wait for UNIT "
                                             "to POWER DOWN"}));
        QCOMPARE(sink.uploadButton, (QList<bool>{false, true}));
        QVERIFY(!port->open);
    }

    void refusedSystemFileSendsNothing() {
        const QString sys = target("bad.sys");
        QFile f(sys);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("5\r\nONLY\r\n");
        f.close();
        QCOMPARE(engine->startUpload(sys, false, {}), TransferOutcome::Failed);
        QVERIFY(sink.lastStatus().startsWith("Upload refused: line 1 of bad.sys"));
        QCOMPARE(port->opens, 0);
        QVERIFY(port->sent.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DumpSerialTest)
#include "dump_serial_test.moc"
