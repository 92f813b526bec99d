// The system file's checks and the serial upload's answers, fed bytes directly.
#include "dump_fakes.h"
#include "system_file.h"
#include "upload_sender.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using namespace ravelin::test;

class UploadSenderTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString systemFile(const QByteArray &content) {
        static int n = 0;
        const QString path = dir.filePath(QString("os%1.sys").arg(++n));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }

  private slots:
    void acceptedFiles() {
        SystemFile f = readSystemFile(systemFile("3\r\nA1\r\nB22\r\nC333\r\n"), false);
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        QCOMPARE(f.LineTotal, 3);
        QCOMPARE(f.lines, (QList<QByteArray>{"A1", "B22", "C333"}));
        // fewer announced than held, a number with blanks and a fraction, no last line end
        f = readSystemFile(systemFile(" 1.6 lines\r\nA\r\nB"), false);
        QCOMPARE(f.LineTotal, 2);
        QCOMPARE(f.lines, (QList<QByteArray>{"A", "B"}));
        // over USB, lines of 49 to 64 characters are counted as cut
        f = readSystemFile(
            systemFile("2\r\n" + QByteArray(48, 'x') + "\r\n" + QByteArray(64, 'y') + "\r\n"),
            true);
        QVERIFY(f.error.isEmpty());
        QCOMPARE(f.linesCut, 1);
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("error");
        const QString count = "Upload refused: line 1 of %1 must give the number of lines that "
                              "follow (1 to %2)";
        QTest::newRow("empty") << QByteArray() << false << count.arg("os%1.sys", "0");
        QTest::newRow("zero") << QByteArray("0\r\nA\r\n") << false << count.arg("os%1.sys", "1");
        QTest::newRow("text") << QByteArray("abc\r\nA\r\n") << false << count.arg("os%1.sys", "1");
        QTest::newRow("more than held")
            << QByteArray("3\r\nA\r\nB\r\n") << false << count.arg("os%1.sys", "2");
        QTest::newRow("beyond 16 bits")
            << QByteArray("40000\r\nA\r\n") << false << count.arg("os%1.sys", "1");
        QTest::newRow("long line on USB")
            << QByteArray("2\r\nA\r\n" + QByteArray(65, 'x') + "\r\n") << true
            << QString("Upload refused: line 3 of os%1.sys is longer than 64 characters");
    }
    void refusedFiles() {
        QFETCH(QByteArray, content);
        QFETCH(bool, usb);
        QFETCH(QString, error);
        const QString path = systemFile(content);
        const QString name = QFileInfo(path).fileName();
        const SystemFile f = readSystemFile(path, usb);
        QCOMPARE(f.error, QString(error).replace("os%1.sys", name));
        QVERIFY(f.lines.isEmpty());
    }

    void unreadableFileIsRefused() {
        const SystemFile f = readSystemFile(dir.filePath("missing.sys"), false);
        QVERIFY(f.error.startsWith("Upload refused: cannot read missing.sys"));
    }

    void linesGoOutOnReadyBytesAndAgainOnRepeat() {
        FakePort port;
        QTimer timer1;
        RecordingSink sink;
        UploadSender sender(port, timer1, sink);
        port.incoming = "stale";
        sender.begin({"A1", "B22", "C333"}, 3);
        QVERIFY(port.incoming.isEmpty());
        QVERIFY(!sender.exchangeOpen());
        timer1.start(500);

        auto deliver = [&](QByteArray bytes) {
            port.incoming += bytes;
            sender.sendSystemLines();
        };
        deliver(QByteArray("\x0F\x06x", 3)); // before the first 0x11: ignored
        QVERIFY(port.sent.isEmpty());
        QVERIFY(!sender.exchangeOpen());
        deliver("\x11\x0F");
        QCOMPARE(sink.statuses, QStringList{"ON-LINE..."});
        QVERIFY(!timer1.isActive());
        QVERIFY(port.sent.isEmpty()); // the first 0x11 only opens the exchange; no line to repeat

        deliver("\x11");
        QCOMPARE(port.sent, QByteArray("A1\r\n"));
        deliver("\x0F\x0F");
        QCOMPARE(port.sent, QByteArray("A1\r\nA1\r\nA1\r\n"));
        QCOMPARE(sender.linesSent(), 1);
        deliver("\x06z");
        QCOMPARE(port.sent.size(), 12);

        deliver("\x11\x11\x11\x11");
        QCOMPARE(port.sent, QByteArray("A1\r\nA1\r\nA1\r\nB22\r\nC333\r\n"));
        QVERIFY(sender.done());
        QCOMPARE(port.sent.right(6), QByteArray("C333\r\n")); // nothing sent past the last line
        QCOMPARE(sink.uploadProgress,
                 (QList<QPair<int, QString>>{
                     {33, "33% Completed"}, {67, "67% Completed"}, {100, "100% Completed"}}));
        QCOMPARE(sink.lastStatus(),
                 QString("New Operating System Downloaded, wait for UNIT to POWER DOWN"));
        QCOMPARE(sink.beeps, 1);
        deliver("\x0F\x11");
        QCOMPARE(port.sent.right(12), QByteArray("C333\r\nC333\r\n")); // the last line again
        QCOMPARE(sender.linesSent(), 3);
    }
};

QTEST_GUILESS_MAIN(UploadSenderTest)
#include "upload_sender_test.moc"
