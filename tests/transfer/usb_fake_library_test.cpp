// The USB transfers through the usbbulk binding, with libfake_usbbulk.so loaded by path the way
// the program loads libusbbulk.so: the instrument's edge cases end to end through dlopen.
#include "dump_fakes.h"
#include "fake_usbbulk.h"
#include "transfer_engine.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

static const QString kUsbError = "ERROR ----> USB DEVICE NOT DETECTED, connect again and restart";

class UsbFakeLibraryTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QLibrary fake{FAKE_USBBULK};
    decltype(&fake_usbbulk_reset) reset = nullptr;
    decltype(&fake_usbbulk_set) set = nullptr;
    decltype(&fake_usbbulk_set_image) setImage = nullptr;
    decltype(&fake_usbbulk_count) count = nullptr;
    decltype(&fake_usbbulk_written_packet_count) packetCount = nullptr;
    decltype(&fake_usbbulk_written_packet) packet = nullptr;

    FakePort port;
    QTimer timer1, timer2;
    RecordingSink sink;
    std::unique_ptr<TransferEngine> engine;
    QString target;

    template <typename Fn> void resolve(Fn &fn, const char *name) {
        fn = reinterpret_cast<Fn>(fake.resolve(name));
        QVERIFY2(fn, name);
    }
    void image(const QByteArray &bytes) {
        setImage(reinterpret_cast<const uint8_t *>(bytes.constData()), bytes.size());
    }
    QString sysFile(const QByteArray &content) {
        return writeFile(dir.filePath("os.sys"), content);
    }

  private slots:
    void initTestCase() {
        resolve(reset, "fake_usbbulk_reset");
        resolve(set, "fake_usbbulk_set");
        resolve(setImage, "fake_usbbulk_set_image");
        resolve(count, "fake_usbbulk_count");
        resolve(packetCount, "fake_usbbulk_written_packet_count");
        resolve(packet, "fake_usbbulk_written_packet");
    }
    void init() {
        reset();
        sink = RecordingSink{};
        engine = std::make_unique<TransferEngine>(port, timer1, timer2, sink);
        engine->setUsbLibraryPath(FAKE_USBBULK);
        static int n = 0;
        target = dir.filePath(QString("fake%1.raw").arg(++n));
    }

    void dumpEqualsTheImageWithAShortLastRead() {
        image(memoryImage(64 * 300 + 10)); // the last read delivers 10 bytes
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(contents(target), memoryImage(64 * 300 + 10));
        QCOMPARE(sink.statuses.first(), QString("Reading KX-4 data......"));
        QCOMPARE(count(FAKE_USBBULK_OPEN_PIPES), 0); // the pipe is closed again
    }

    // An empty file is never reported as a saved dump.
    void shortFirstReadEndsTheDumpWithoutAFile() {
        image(memoryImage(640));
        set(FAKE_USBBULK_FIRST_READ_LENGTH, 20);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".partial"));
        QCOMPARE(sink.lastStatus(), QString("Dump Aborted: the instrument sent no data"));
    }

    // The instrument stops after 10 packets of an announced 6400 bytes: the packets received are
    // kept under the partial name, an older dump of the same name stays as it was.
    void dumpCutShortIsKeptAsPartial() {
        QFile older(target);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older dump");
        older.close();
        image(memoryImage(640));
        set(FAKE_USBBULK_ANNOUNCED_LENGTH, 6400);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(contents(target), QByteArray("older dump"));
        QCOMPARE(contents(target + ".partial"), memoryImage(640));
        QCOMPARE(sink.lastStatus(), "Dump Aborted: the instrument sent 640 of 6400 bytes; what "
                                    "arrived is kept in " +
                                        target + ".partial");
    }

    // Whether the announced length counts the first packet differs between instruments: one
    // packet short is whole, more is cut short.
    void dumpWithinOnePacketOfTheAnnouncedLengthIsWhole() {
        image(memoryImage(6400));
        set(FAKE_USBBULK_ANNOUNCED_LENGTH, 6400 + 64);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(contents(target), memoryImage(6400));
        set(FAKE_USBBULK_ANNOUNCED_LENGTH, 6400 + 65);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(contents(target + ".partial"), memoryImage(6400));
    }

    void announcedLengthIsClamped_data() {
        QTest::addColumn<qint64>("announced");
        QTest::addColumn<int>("dumpTotal");
        QTest::newRow("-5") << qint64(-5) << 1000000;
        QTest::newRow("20000000") << qint64(20000000) << 12500000;
    }
    void announcedLengthIsClamped() {
        QFETCH(qint64, announced);
        QFETCH(int, dumpTotal);
        image(memoryImage(6400));
        set(FAKE_USBBULK_ANNOUNCED_LENGTH, announced);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(engine->usbDumpLength(), dumpTotal);
        QCOMPARE(contents(target), memoryImage(6400));
    }

    void noDeviceWrongVendorOrNoPipeLeaveNoFile() {
        set(FAKE_USBBULK_ATTACHED, 0);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(count(FAKE_USBBULK_DESCRIPTOR_CALLS), 11);
        QCOMPARE(sink.lastStatus(), kUsbError);
        reset();
        set(FAKE_USBBULK_DESCRIPTOR_FAILURES, 10); // the eleventh attempt finds it
        image(memoryImage(64));
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QVERIFY(QFile::remove(target));
        reset();
        set(FAKE_USBBULK_VENDOR, 0x0816);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(count(FAKE_USBBULK_OPEN_CALLS), 0);
        reset();
        set(FAKE_USBBULK_OPEN_FAILS, 1);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".partial"));
    }

    // Without the udev rule the device is found but cannot be opened: the status names the rule.
    void refusedAccessNamesTheUdevRule() {
        const QString noAccess = "no access to the USB instrument: install the RAVELIN package or "
                                 "its udev rule, then plug it in again";
        set(FAKE_USBBULK_NO_ACCESS, 1);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), noAccess);
        QVERIFY(!QFile::exists(target + ".partial"));
        QCOMPARE(engine->startUpload(sysFile("1\r\nLINE-1\r\n"), true, {}),
                 TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), noAccess);
    }

    void failedReadKeepsWhatArrivedAsPartial() {
        image(memoryImage(64 * 10));
        set(FAKE_USBBULK_READ_FAILS_AFTER, 4); // the first packet and three of data
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError + "; what arrived is kept in " + target + ".partial");
        QCOMPARE(contents(target + ".partial"), memoryImage(64 * 3));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(count(FAKE_USBBULK_OPEN_PIPES), 0);
    }

    void uploadWrites48BytePackets() {
        set(FAKE_USBBULK_PRODUCT, 0x0DDE);
        const QByteArray sixty = QByteArray(48, 'S') + QByteArray(12, 'c'); // sent cut to 48
        QCOMPARE(engine->startUpload(sysFile("3\r\nLINE-1\r\n" + sixty + "\r\nEND\r\n"), true, {}),
                 TransferOutcome::Completed);
        QCOMPARE(packetCount(), 3);
        QList<QByteArray> packets;
        for (int i = 0; i < 3; ++i) {
            QByteArray p(64, '\0');
            p.resize(packet(i, reinterpret_cast<uint8_t *>(p.data()), 64));
            packets << p;
        }
        QCOMPARE(packets[0], "LINE-1" + QByteArray(42, '\0'));
        QCOMPARE(packets[1], sixty.left(48));
        QCOMPARE(packets[2], "END" + sixty.mid(3, 45));
        QCOMPARE(sink.lastStatus(), QString("New Operating System Downloaded, wait for VIREL to "
                                            "POWER DOWN (1 line longer than 48 characters sent "
                                            "cut to 48)"));
        QCOMPARE(count(FAKE_USBBULK_OPEN_PIPES), 0);
    }

    void overlongLineIsRefusedBeforeAnythingIsSent() {
        QCOMPARE(engine->startUpload(sysFile("1\r\n" + QByteArray(65, 'x') + "\r\n"), true, {}),
                 TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(),
                 QString("Upload refused: line 2 of os.sys is longer than 64 characters"));
        QCOMPARE(count(FAKE_USBBULK_DESCRIPTOR_CALLS), 0);
        QCOMPARE(count(FAKE_USBBULK_WRITE_CALLS), 0);
    }

    void ownLibraryIsFoundBesideTheProgram() {
        // No path given: libusbbulk.so from the program's folder, which finds no instrument here
        // (none is attached to a test machine) and so reports the USB failure, not a load error.
        TransferEngine own(port, timer1, timer2, sink);
        QCOMPARE(own.startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QVERIFY(!QFile::exists(target + ".partial"));
    }

    void failedWriteEndsTheUpload() {
        set(FAKE_USBBULK_WRITE_FAILS_AFTER, 1);
        QCOMPARE(engine->startUpload(sysFile("2\r\nA\r\nB\r\n"), true, {}),
                 TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QCOMPARE(packetCount(), 1);
        QCOMPARE(count(FAKE_USBBULK_OPEN_PIPES), 0);
    }
};

QTEST_GUILESS_MAIN(UsbFakeLibraryTest)
#include "usb_fake_library_test.moc"
