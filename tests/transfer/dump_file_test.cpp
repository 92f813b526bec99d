// The dump file: a finished dump replaces the chosen file, an unfinished one never looks
// finished, and the ".raw" naming rules.
#include "dump_fakes.h"
#include "dump_file.h"
#include "dump_name.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;
using ravelin::test::contents;

static void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class DumpFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    void finishedDumpReplacesALongerFile() {
        const QString target = dir.filePath("old.raw");
        writeFile(target, QByteArray(100000, 'x'));
        DumpFile file;
        QVERIFY(file.open(target));
        const QByteArray data(70000, 'd'); // more than one internal buffer
        for (int i = 0; i < 7; ++i)
            QVERIFY(file.write(data.constData() + i * 10000, 10000));
        QCOMPARE(contents(target).size(), 100000); // untouched until the dump is complete
        QVERIFY(file.commit());
        QCOMPARE(contents(target), data);
        QVERIFY(!QFile::exists(DumpFile::partialName(target)));
    }

    // A crash loses nothing written more than a moment ago, however long the dump then waits.
    void writtenBytesReachTheFileWithoutAnotherWrite() {
        const QString target = dir.filePath("waiting.raw");
        DumpFile file;
        QVERIFY(file.open(target));
        QVERIFY(file.write("block", 5));
        QTRY_COMPARE_WITH_TIMEOUT(contents(DumpFile::partialName(target)), QByteArray("block"),
                                  1000);
        file.discard();
    }

    void unfinishedDumpKeepsItsDataUnderThePartialName() {
        const QString target = dir.filePath("cut.raw");
        writeFile(target, "earlier dump");
        {
            DumpFile file;
            QVERIFY(file.open(target));
            QVERIFY(file.write("abc", 3));
        } // closed as when the program ends mid-dump
        QCOMPARE(contents(DumpFile::partialName(target)), QByteArray("abc"));
        QCOMPARE(contents(target), QByteArray("earlier dump"));
        DumpFile retry; // a second attempt under the same name keeps the first one's data
        QVERIFY(retry.open(target));
        QCOMPARE(contents(DumpFile::partialName(target) + ".1"), QByteArray("abc"));
        retry.discard();
    }

    void emptyOrDiscardedDumpLeavesNothing() {
        const QString target = dir.filePath("none.raw");
        DumpFile empty;
        QVERIFY(empty.open(target));
        QVERIFY(!empty.keepPartial());
        DumpFile discarded;
        QVERIFY(discarded.open(target));
        QVERIFY(discarded.write("abc", 3));
        discarded.discard();
        QVERIFY(!QFile::exists(DumpFile::partialName(target)));
        QVERIFY(!QFile::exists(target));
    }

    void failingWriteIsReported() {
        const QString target = dir.filePath("full.raw");
        QVERIFY(QFile::link("/dev/full", DumpFile::partialName(target)));
        DumpFile file;
        QVERIFY(file.open(target));
        QVERIFY(file.write("abc", 3)); // buffered
        QVERIFY(!file.commit());
        QVERIFY(file.errorString().contains("cannot write"));
        QVERIFY(!QFile::exists(target));
    }

    void uncreatableFileIsReported() {
        DumpFile file;
        QVERIFY(!file.open(dir.filePath("no/such/folder/x.raw")));
        QVERIFY(file.errorString().startsWith("cannot create"));
    }

    void names() {
        QCOMPARE(proposedDumpName(QDateTime(QDate(2007, 8, 1), QTime(14, 36, 59))),
                 QString("1436Aug012007"));
        QCOMPARE(proposedDumpName(QDateTime(QDate(2026, 12, 7), QTime(9, 5))),
                 QString("0905Dec072026"));
        QCOMPARE(normalisedDumpName("/d/1436Aug012007"), QString("/d/1436Aug012007.raw"));
        QCOMPARE(normalisedDumpName("/d/data.txt"), QString("/d/data.raw"));
        QCOMPARE(normalisedDumpName("/d/data.raw"), QString("/d/data.raw"));
        QCOMPARE(normalisedDumpName("/d/my.folder/survey"), QString("/d/my.folder/survey.raw"));
        QCOMPARE(normalisedDumpName("/d/a.b"), QString("/d/a.raw")); // never cuts into "/d"
        QCOMPARE(convertedDatabaseName("/d/data.raw"), QString("/d/data.tvd"));
    }
};

QTEST_GUILESS_MAIN(DumpFileTest)
#include "dump_file_test.moc"
