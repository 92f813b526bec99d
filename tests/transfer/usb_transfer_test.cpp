// The USB dump and upload against a scripted instrument behind the usbbulk functions, and the
// binding's failures.
#include "dump_fakes.h"
#include "transfer_engine.h"
#include "usb_script.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

static const QString kUsbError = "ERROR ----> USB DEVICE NOT DETECTED, connect again and restart";

class UsbTransferTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakePort port;
    QTimer timer1, timer2;
    RecordingSink sink;
    TransferEngine *engine = nullptr;
    QString target;

    QString sysFile(const QByteArray &content) {
        return writeFile(dir.filePath("os.sys"), content);
    }

  private slots:
    void init() {
        usb = UsbScript{};
        sink = RecordingSink{};
        engine = new TransferEngine(port, timer1, timer2, sink);
        engine->setUsbApi(scriptedUsbApi());
        static int n = 0;
        target = dir.filePath(QString("usb%1.raw").arg(++n));
    }
    void cleanup() { delete engine; }

    void dumpWritesExactlyWhatWasDelivered() {
        const QByteArray image = memoryImage(1000); // last packet: 40 bytes after a full one
        usb.dumpOf(image, 1000);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(contents(target), image);
        QCOMPARE(usb.openedPipes, QList<QByteArray>{"PIPE3"});
        QCOMPARE(usb.closedHandles, QList<int32_t>{3});
        QCOMPARE(sink.statuses,
                 (QStringList{"Reading KX-4 data......",
                              "Upload Finished,  File saved: " + target.chopped(4) + ".tvd"}));
        QCOMPARE(sink.dumpProgress.last(), qMakePair(100, QString("100%")));
        QCOMPARE(sink.dumpButton, (QList<bool>{false, true}));
        QCOMPARE(sink.beeps, 1);
    }

    void tenByteLastReadAddsTenBytes() {
        usb.dumpOf(memoryImage(128 + 10), 138);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(contents(target), memoryImage(138));
    }

    void productNamesTheStatus() {
        usb.product = 0x0DDE;
        usb.dumpOf(memoryImage(64), 64);
        engine->startDump(target, true);
        QCOMPARE(sink.statuses.first(), QString("Reading  VIREL data....."));
        usb.product = 0x1234; // read the same way, unnamed
        sink = RecordingSink{};
        usb.reads = 0;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(sink.statuses.size(), 1);
        QCOMPARE(contents(target), memoryImage(64));
    }

    void shortFirstReadLeavesNoFile() {
        usb.packets = {QByteArray(20, '\0')};
        usb.announced = 5000;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QVERIFY(!QFile::exists(target));
        QCOMPARE(sink.lastStatus(), QString("Dump Aborted: the instrument sent no data"));
    }

    void announcedLengthIsClamped() {
        usb.dumpOf(memoryImage(640), -5);
        engine->startDump(target, true);
        QCOMPARE(engine->usbDumpLength(), 1000000);
        QCOMPARE(sink.dumpProgress.first(), qMakePair(0, QString("00%"))); // 64 of 1000000
        // an unknown length does not cut the memory at the guessed million bytes
        usb.dumpOf(memoryImage(1100000), -1);
        usb.reads = 0;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QVERIFY(contents(target) == memoryImage(1100000));
        QCOMPARE(sink.dumpProgress.last(), qMakePair(100, QString("100%")));
        usb.dumpOf(memoryImage(640), 20000000);
        usb.reads = 0;
        engine->startDump(target, true);
        QCOMPARE(engine->usbDumpLength(), 12500000);
    }

    void moreThanAnnouncedEndsPastFullProgress() {
        usb.dumpOf(memoryImage(64 * 10), 64 * 4); // keeps sending after its announced length
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Completed);
        QCOMPARE(contents(target).size(), 64 * 5); // the read that took it above 101% ends it
        QCOMPARE(sink.dumpProgress.last(), qMakePair(100, QString("100%")));
    }

    void zeroLengthIsReportedNotDivided() {
        usb.dumpOf(memoryImage(64), 0);
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(),
                 QString("Dump Aborted: the instrument announced a dump of 0 bytes"));
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".partial"));
        QCOMPARE(usb.closedHandles.size(), 1);
    }

    void noDeviceOrWrongVendorCreatesNoFile() {
        usb.present = false;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(usb.descriptorCalls, 11);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QCOMPARE(sink.beeps, 1);
        QVERIFY(sink.dumpButton.isEmpty() || sink.dumpButton.last());
        usb.present = true;
        usb.vendor = 0x0816;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QVERIFY(usb.openedPipes.isEmpty());
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".partial"));
    }

    void pipeThatWillNotOpenCreatesNoFile() {
        usb.pipeHandle = -1;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QVERIFY(usb.closedHandles.isEmpty());
        QVERIFY(!QFile::exists(target + ".partial"));
    }

    void failedReadKeepsThePartialDump() {
        usb.dumpOf(memoryImage(640), 640);
        usb.failReadAt = 4;
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError + "; what arrived is kept in " + target + ".partial");
        QCOMPARE(contents(target + ".partial"), memoryImage(192));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(usb.closedHandles, QList<int32_t>{3});
    }

    // STOP ends the wait for the first packet of an instrument not started yet: it is handled
    // between two reads that time out.
    void stopEndsTheWaitForTheFirstPacket() {
        usb.timedOutReads = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        engine->setEventPump([this](bool) {
            if (usb.reads == 4) engine->stop();
        });
        QCOMPARE(engine->startDump(target, true), TransferOutcome::Failed);
        QCOMPARE(usb.reads, 4);
        QCOMPARE(sink.statuses, (QStringList{"Syncronizing.... start DUMP on the instrument",
                                             "Dump Aborted: stopped by the operator"}));
        QCOMPARE(usb.closedHandles, QList<int32_t>{3});
        QVERIFY(!QFile::exists(target + ".partial"));
    }

    void missingLibraryOrFunctionIsReported() {
        TransferEngine bare(port, timer1, timer2, sink);
        bare.setUsbLibraryPath(dir.filePath("libnothing.so"));
        QCOMPARE(bare.startDump(target, true), TransferOutcome::Failed);
        QVERIFY2(sink.lastStatus().startsWith("Cannot load the USB library"),
                 qPrintable(sink.lastStatus()));
        TransferEngine wrong(port, timer1, timer2, sink);
        wrong.setUsbLibraryPath(QLibraryInfo::path(QLibraryInfo::LibrariesPath) +
                                "/libQt6Test.so.6");
        QCOMPARE(wrong.startUpload(sysFile("1\r\nA\r\n"), true, {}), TransferOutcome::Failed);
        QVERIFY2(sink.lastStatus().endsWith("has no function dll_getDeviceDescriptor"),
                 qPrintable(sink.lastStatus()));
        QVERIFY(!QFile::exists(target));
    }

    void uploadSendsOne48BytePacketPerLine() {
        usb.product = 0x0DDE;
        const QByteArray longLine = QByteArray(48, 'L') + QByteArray(12, 'c'); // cut to 48
        QCOMPARE(
            engine->startUpload(sysFile("2\r\nSHORT\r\n" + longLine + "\r\nTAIL\r\n"), true, {}),
            TransferOutcome::Completed);
        QCOMPARE(usb.openedPipes, QList<QByteArray>{"PIPE2"});
        QCOMPARE(usb.writes.size(), 3); // to the end of the file, beyond the announced 2
        QCOMPARE(usb.writes[0], "SHORT" + QByteArray(43, '\0'));
        QCOMPARE(usb.writes[1], longLine.left(48));
        QCOMPARE(usb.writes[2], "TAIL" + longLine.mid(4, 44)); // what the longer line left
        QCOMPARE(sink.statuses,
                 (QStringList{"Uploading new O.S. for VIREL.....",
                              "New Operating System Downloaded, wait for VIREL to POWER DOWN (1 "
                              "line longer than 48 characters sent cut to 48)"}));
        QCOMPARE(sink.uploadProgress.first(), qMakePair(50, QString("50% Completed")));
        QCOMPARE(sink.uploadProgress.last(), qMakePair(100, QString("100% Completed")));
        QCOMPARE(sink.uploadButton, (QList<bool>{false, true}));
        QCOMPARE(usb.closedHandles, QList<int32_t>{3});
    }

    void uploadKx4Statuses() {
        engine->startUpload(sysFile("1\r\nX\r\n"), true, {});
        QCOMPARE(sink.statuses,
                 (QStringList{"Uploading new O.S. for KX-4.....",
                              "New Operating System Downloaded, wait for KX-4 to POWER DOWN"}));
    }

    void overlongLineIsRefusedBeforeAnythingIsSent() {
        QCOMPARE(
            engine->startUpload(sysFile("2\r\nA\r\n" + QByteArray(65, 'x') + "\r\n"), true, {}),
            TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(),
                 QString("Upload refused: line 3 of os.sys is longer than 64 characters"));
        QCOMPARE(usb.descriptorCalls, 0);
        QVERIFY(usb.writes.isEmpty());
    }

    void uploadFailures() {
        usb.present = false;
        QCOMPARE(engine->startUpload(sysFile("1\r\nA\r\n"), true, {}), TransferOutcome::Failed);
        QCOMPARE(usb.descriptorCalls, 1); // one attempt only
        QCOMPARE(sink.lastStatus(), kUsbError);
        usb.present = true;
        usb.failWriteAt = 1;
        QCOMPARE(engine->startUpload(sysFile("2\r\nA\r\nB\r\n"), true, {}),
                 TransferOutcome::Failed);
        QCOMPARE(sink.lastStatus(), kUsbError);
        QCOMPARE(usb.writes.size(), 1);
        QCOMPARE(usb.closedHandles, QList<int32_t>{3});
        QVERIFY(sink.uploadButton.last());
    }
};

QTEST_GUILESS_MAIN(UsbTransferTest)
#include "usb_transfer_test.moc"
