// The serial dump's receiving side fed byte strings and timer ticks directly.
#include "dump_fakes.h"
#include "dump_file.h"
#include "dump_receiver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

class DumpReceiverTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    TransferState state;
    FakePort port;
    QTimer timer1, timer2;
    RecordingSink sink;
    DumpFile file;
    DumpReceiver *receiver = nullptr;
    QString target;

    void deliver(const QByteArray &bytes) {
        port.incoming += bytes;
        receiver->receiveDumpData();
    }
    QByteArray written() {
        file.keepPartial();
        QFile f(DumpFile::partialName(target));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

  private slots:
    void init() {
        state = TransferState{};
        port.incoming.clear();
        port.sent.clear();
        sink = RecordingSink{};
        target = dir.filePath("dump.raw");
        QVERIFY(file.open(target));
        receiver = new DumpReceiver(state, port, timer1, timer2, sink, file);
        receiver->begin();
        timer1.start(500);
        timer2.start(2000);
    }
    void cleanup() {
        delete receiver;
        file.discard();
    }

    void headerAndBlocksAreAnsweredAndWritten() {
        const QByteArray image = memoryImage(300);
        deliver(lengthHeader(300).left(1));
        QVERIFY(!timer1.isActive()); // the first byte stops the ready ticks
        QVERIFY(!timer2.isActive()); // every byte stops the silence timer
        QVERIFY(state.AwaitingLength);
        QCOMPARE(state.LengthText, QByteArray("0"));

        deliver(lengthHeader(300).mid(1));
        QVERIFY(!state.AwaitingLength);
        QCOMPARE(state.DumpLength, 504);
        QCOMPARE(state.ByteCount, 0);
        QCOMPARE(port.sent, QByteArray(1, char(kReady)));
        QCOMPARE(sink.statuses, QStringList{"ON-LINE..."});
        QCOMPARE(sink.dumpProgress.last(), qMakePair(0, QString("0%")));

        deliver(dumpBlock(image.left(252)));
        QCOMPARE(state.ReceivedTotal, 252);
        QCOMPARE(sink.dumpProgress.last(), qMakePair(50, QString("50%")));
        QVERIFY(!state.TransferDone);
        deliver(dumpBlock(image.mid(252)));
        QVERIFY(state.TransferDone);
        QCOMPARE(sink.dumpProgress.last(), qMakePair(100, QString("100%")));
        QCOMPARE(port.sent, QByteArray(3, char(kReady))); // the last block is answered too
        QCOMPARE(written(), image + QByteArray(204, char(0xFF)));
    }

    void progressCaptionHasTwoDigits() {
        deliver(lengthHeader(252 * 20));
        deliver(dumpBlock(memoryImage(252)));
        QCOMPARE(sink.dumpProgress.last(), qMakePair(5, QString("05%")));
    }

    void rejectedBlocksAskAgainAndWriteNothing() {
        deliver(lengthHeader(252));
        QByteArray wrongStart = dumpBlock(memoryImage(252));
        wrongStart[0] = 'T';
        wrongStart[254] = char(uint8_t(wrongStart[254]) - 1); // sum still 0
        QByteArray wrongSum = dumpBlock(memoryImage(252));
        wrongSum[100] = char(wrongSum[100] ^ 0x01);
        deliver(wrongStart + wrongSum);
        QCOMPARE(port.sent, QByteArray(1, char(kReady)) + QByteArray(2, char(kRepeat)));
        QCOMPARE(state.ReceivedTotal, 0);
        QCOMPARE(file.written(), 0);
        deliver(dumpBlock(memoryImage(252)));
        QVERIFY(state.TransferDone);
        QCOMPARE(written(), memoryImage(252));
    }

    void silenceMidBlockRestartsTheBlock() {
        deliver(lengthHeader(252));
        const QByteArray block = dumpBlock(memoryImage(252));
        deliver(block.left(100));
        receiver->onSilence();
        QCOMPARE(state.ByteCount, 0);
        QCOMPARE(port.sent.right(1), QByteArray(1, char(kRepeat)));
        deliver(block); // sent again whole: taken from its first byte
        QVERIFY(state.TransferDone);
        QCOMPARE(written(), memoryImage(252));
    }

    void silenceMidHeaderDropsThePartialHeader() {
        deliver("0000");
        receiver->onSilence();
        QVERIFY(state.LengthText.isEmpty());
        QCOMPARE(state.ByteCount, 0);
        deliver(lengthHeader(504));
        QCOMPARE(state.DumpLength, 504);
        QVERIFY(state.FailureText.isEmpty());
    }

    void zeroHeaderMeansEmptyMemoryAndLeavesTheRestQueued() {
        deliver(lengthHeader(0) + "xyz");
        QVERIFY(state.MemoryEmpty);
        QCOMPARE(port.incoming, QByteArray("xyz"));
        QVERIFY(port.sent.isEmpty());
    }

    void malformedHeaderEndsTheDump() {
        deliver("12ab567890" + dumpBlock(memoryImage(252)));
        QVERIFY(state.FailureText.startsWith("Dump Aborted: the instrument sent \"12ab567890\""));
        QVERIFY(port.sent.isEmpty());
        QCOMPARE(port.incoming.size(), 255); // nothing taken after the failure
        QCOMPARE(file.written(), 0);
    }

    void headerParsing() {
        QCOMPARE(parseLengthHeader("0000000300"), std::optional<int32_t>(300));
        QCOMPARE(parseLengthHeader("       300"), std::optional<int32_t>(300));
        QCOMPARE(parseLengthHeader("2147483647"), std::optional<int32_t>(2147483647));
        QCOMPARE(parseLengthHeader("2147483648"), std::nullopt);
        QCOMPARE(parseLengthHeader("-000000300"), std::nullopt);
        QCOMPARE(parseLengthHeader("          "), std::nullopt);
        QCOMPARE(parseLengthHeader(QByteArray("00003\0"
                                              "0000",
                                              10)),
                 std::nullopt);
        QCOMPARE(roundedDumpLength(300), std::optional<int32_t>(504));
        QCOMPARE(roundedDumpLength(504), std::optional<int32_t>(504));
        QCOMPARE(roundedDumpLength(2147483647), std::nullopt); // rounding leaves 32 bits
    }
};

QTEST_GUILESS_MAIN(DumpReceiverTest)
#include "dump_receiver_test.moc"
