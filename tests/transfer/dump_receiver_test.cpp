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
    TransferEnd end;
    FakePort port;
    QTimer timer1, timer2, quiet;
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
    static QByteArray bytes(char b, int count = 1) { return QByteArray(count, b); }
    static QByteArray block(int i) { return dumpBlock(memoryImage(252 * 8).mid(252 * i, 252)); }
    static QByteArray data(int from, int to) {
        return memoryImage(252 * 8).mid(252 * from, 252 * (to - from));
    }
    // The header of an 8-block dump, answered once the line is quiet, and blocks 0 to n-1.
    void startWith(int blocks) {
        deliver(lengthHeader(252 * 8));
        receiver->onQuiet();
        for (int i = 0; i < blocks; ++i)
            deliver(block(i));
        port.sent.clear();
    }

  private slots:
    void init() {
        end.clear();
        port.incoming.clear();
        port.sent.clear();
        sink = RecordingSink{};
        target = dir.filePath("dump.raw");
        QVERIFY(file.open(target));
        receiver = new DumpReceiver(end, port, timer1, timer2, quiet, sink, file);
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
        receiver->onSilence(); // before the instrument starts only ready bytes go out
        QVERIFY(port.sent.isEmpty());
        QCOMPARE(sink.lastStatus(), QString("Syncronizing.... start DUMP on the instrument"));
        deliver(lengthHeader(300).left(1));
        QVERIFY(!timer1.isActive()); // the first byte stops the ready ticks
        QVERIFY(!timer2.isActive()); // every byte stops the silence timer
        QVERIFY(receiver->awaitingLength());

        deliver(lengthHeader(300).mid(1));
        QVERIFY(!receiver->awaitingLength());
        QCOMPARE(receiver->dumpLength(), 504);
        QCOMPARE(sink.lastStatus(), QString("ON-LINE..."));
        QCOMPARE(sink.dumpProgress.last(), qMakePair(0, QString("0%")));
        QVERIFY(port.sent.isEmpty()); // the header is answered once the line is quiet
        QVERIFY(quiet.isActive());
        receiver->onQuiet();
        QCOMPARE(port.sent, bytes(kReady));

        deliver(dumpBlock(image.left(252)));
        QCOMPARE(receiver->received(), 252);
        QCOMPARE(sink.dumpProgress.last(), qMakePair(50, QString("50%")));
        QCOMPARE(contents(DumpFile::partialName(target)), image.left(252)); // on disk at once
        deliver(dumpBlock(image.mid(252)));
        QVERIFY(receiver->done());
        QCOMPARE(sink.dumpProgress.last(), qMakePair(100, QString("100%")));
        QCOMPARE(port.sent, bytes(kReady, 3)); // the last block is answered too
        QCOMPARE(written(), image + QByteArray(204, char(0xFF)));
    }

    void progressCaptionHasTwoDigits() {
        deliver(lengthHeader(252 * 20));
        receiver->onQuiet();
        deliver(dumpBlock(memoryImage(252)));
        QCOMPARE(sink.dumpProgress.last(), qMakePair(5, QString("05%")));
    }

    // A damaged block is asked for again once the line is quiet, so that stray bytes after it
    // cannot shift the next block.
    void damagedBlocksAreAskedForOnceTheLineIsQuiet() {
        startWith(0);
        QByteArray wrongStart = block(0);
        wrongStart[0] = 'T';
        wrongStart[254] = char(uint8_t(wrongStart[254]) - 1); // sum still 0
        QByteArray wrongSum = block(0);
        wrongSum[100] = char(wrongSum[100] ^ 0x01);
        for (const QByteArray &damaged : {wrongStart, wrongSum}) {
            deliver(damaged);
            QVERIFY(port.sent.isEmpty());
            receiver->onQuiet();
            QCOMPARE(port.sent, bytes(kRepeat));
            port.sent.clear();
        }
        deliver(wrongSum + "xy"); // two bytes too many: dropped with the silence
        receiver->onQuiet();
        receiver->onSilence();
        QCOMPARE(port.sent, bytes(kRepeat));
        deliver(block(0));
        receiver->onQuiet();
        QCOMPARE(port.sent, bytes(kRepeat) + bytes(kReady));
        QCOMPARE(written(), data(0, 1));
    }

    // Ready bytes queued while the instrument was not listening each fetch a block before the
    // PC answered the header: they are all taken, and only the last is answered.
    void blocksSentAheadAreTakenInOrderAndAnsweredOnce() {
        deliver(lengthHeader(252 * 8) + block(0) + block(1) + block(2).left(9));
        deliver(block(2).mid(9));
        QVERIFY(port.sent.isEmpty());
        receiver->onQuiet();
        QCOMPARE(port.sent, bytes(kReady));
        deliver(block(3));
        deliver(block(4) + block(5)); // ahead again
        QCOMPARE(port.sent, bytes(kReady, 2));
        receiver->onQuiet();
        QCOMPARE(port.sent, bytes(kReady, 3));
        QCOMPARE(written(), data(0, 6));
    }

    void aDamagedBlockSentAheadEndsTheDumpWithTheBlocksBeforeIt() {
        QByteArray damaged = block(1);
        damaged[7] = char(damaged[7] ^ 0x10);
        deliver(lengthHeader(252 * 8) + block(0) + damaged + block(2));
        QVERIFY(end.reason().startsWith("Dump Aborted: a damaged block came while"));
        QVERIFY(port.sent.isEmpty()); // no 0x0F that the instrument would read late
        QCOMPARE(written(), data(0, 1));
    }

    // After a silence one 0x0F goes out; the silence goes on: none more, the status counts.
    void aSilenceAsksOnceAndThenSaysSo() {
        startWith(2);
        deliver(block(2).left(100));
        receiver->onSilence();
        receiver->onSilence();
        receiver->onSilence();
        QCOMPARE(port.sent, bytes(kRepeat));
        QVERIFY(sink.lastStatus().startsWith("No answer from the instrument for "));
        QVERIFY(sink.lastStatus().endsWith(
            " s: check the cable and the instrument; STOP ends the dump"));
        deliver(block(2));
        QCOMPARE(sink.lastStatus(), QString("ON-LINE..."));
        receiver->onQuiet();
        QCOMPARE(port.sent, bytes(kRepeat) + bytes(kReady));
        QCOMPARE(written(), data(0, 3));
    }

    // What comes back after a silence is taken only when it can be nothing but the block due.
    void whatFollowsASilence_data() {
        QTest::addColumn<int>("sentBefore");   // bytes of block 2 before the silence
        QTest::addColumn<QByteArray>("after"); // what the instrument sent after it
        QTest::addColumn<bool>("taken");
        const QByteArray b2 = block(2);
        QTest::newRow("half block dropped, sent again") << 100 << b2 << true;
        QTest::newRow("stalled before the answer: sent twice") << 0 << b2 + b2 << true;
        QTest::newRow("half block finished, sent again") << 100 << b2.mid(100) + b2 << true;
        QTest::newRow("finished damaged, sent again") << 100 << b2.mid(100, 154) + "!" + b2 << true;
        QTest::newRow("sent twice, the first damaged") << 0 << "!" + b2.mid(1) + b2 << true;
        QTest::newRow("the block before, again") << 0 << block(1) << false;
        QTest::newRow("two different blocks") << 0 << b2 + block(3) << false;
        QTest::newRow("finished, then another block") << 100 << b2.mid(100) + block(3) << false;
        QTest::newRow("more than two blocks") << 0 << b2 + b2 + b2 << false;
        QTest::newRow("a damaged block") << 0 << b2.left(254) + "!" << false;
    }
    void whatFollowsASilence() {
        QFETCH(int, sentBefore);
        QFETCH(QByteArray, after);
        QFETCH(bool, taken);
        startWith(2);
        deliver(block(2).left(sentBefore));
        receiver->onSilence();
        deliver(after);
        receiver->onQuiet();
        if (end.isSet() || !taken) receiver->onSilence();
        QCOMPARE(!end.isSet(), taken);
        QCOMPARE(port.sent, taken ? bytes(kRepeat) + bytes(kReady) : bytes(kRepeat));
        QCOMPARE(written(), data(0, taken ? 3 : 2));
    }

    // A block taken after a silence, sent once more after its answer: it is no next block.
    void aLateSecondCopyAfterASilenceEndsTheDump() {
        startWith(2);
        receiver->onSilence();
        deliver(block(2));
        receiver->onQuiet();
        deliver(block(2));
        QVERIFY(end.reason().contains("a block twice, late"));
        QCOMPARE(written(), data(0, 3));
    }

    void silenceMidHeaderDropsThePartialHeaderAndAsksOnce() {
        deliver("0000");
        receiver->onSilence();
        receiver->onSilence();
        QCOMPARE(port.sent, bytes(kRepeat));
        deliver(lengthHeader(504));
        QCOMPARE(receiver->dumpLength(), 504);
        QVERIFY(!end.isSet());
    }

    void zeroHeaderMeansEmptyMemoryAndLeavesTheRestQueued() {
        deliver(lengthHeader(0) + "xyz");
        QVERIFY(receiver->memoryEmpty());
        QCOMPARE(port.incoming, QByteArray("xyz"));
        QVERIFY(port.sent.isEmpty());
    }

    void malformedHeaderEndsTheDump() {
        deliver("12ab567890" + dumpBlock(memoryImage(252)));
        QVERIFY(end.reason().startsWith("Dump Aborted: the instrument sent \"12ab567890\""));
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
