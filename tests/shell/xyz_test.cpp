// The ".xyz" file: heading and profile lines left out, every other line copied with its line end.
#include "xyz_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class XyzTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    void keepsDataLinesDropsHeadingAndProfileLines_data() {
        QTest::addColumn<QByteArray>("survey");
        QTest::addColumn<QByteArray>("xyz");
        // The decoder's own shape: every line introduced by "\r\n", so the first line is empty.
        QTest::newRow("survey") << QByteArray("\r\n/\tKX-4 SURVEY\r\nLine 7\r\n  1.0\t2.0\r\n"
                                              "Sounding 3\r\nBore Hole 2\r\nline 4\r\n\r\n 5")
                                << QByteArray("\r\n  1.0\t2.0\r\nSounding 3\r\nBore Hole 2\r\n"
                                              "line 4\r\n\r\n 5\r\n");
        QTest::newRow("bare line feeds") << QByteArray("a\nL\n/b\nc\n") << QByteArray("a\r\nc\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("control bytes kept")
            << QByteArray("\x01\xff\x00z", 4) << QByteArray("\x01\xff\x00z\r\n", 6);
    }
    void keepsDataLinesDropsHeadingAndProfileLines() {
        QFETCH(QByteArray, survey);
        QFETCH(QByteArray, xyz);
        writeFile(dir.filePath("a.txt"), survey);
        writeFile(dir.filePath("a.xyz"), "old contents");
        QString failure;
        QVERIFY(ravelin::writeXyzFile(dir.filePath("a.txt"), dir.filePath("a.xyz"), &failure));
        QCOMPARE(readFile(dir.filePath("a.xyz")), xyz);
    }

    void missingSurveyLeavesEmptyXyzAndSaysWhy() {
        writeFile(dir.filePath("b.xyz"), "old contents");
        QString failure;
        QVERIFY(!ravelin::writeXyzFile(dir.filePath("b.txt"), dir.filePath("b.xyz"), &failure));
        QCOMPARE(readFile(dir.filePath("b.xyz")), QByteArray());
        QVERIFY2(failure.contains(dir.filePath("b.txt")), qPrintable(failure));
    }

    void uncreatableXyzIsAFailure() {
        writeFile(dir.filePath("c.txt"), "\r\n1");
        QString failure;
        QVERIFY(
            !ravelin::writeXyzFile(dir.filePath("c.txt"), dir.filePath("no/such/c.xyz"), &failure));
        QVERIFY2(failure.contains(dir.filePath("no/such/c.xyz")), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(XyzTest)
#include "xyz_test.moc"
