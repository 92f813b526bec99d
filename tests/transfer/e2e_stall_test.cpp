// ravelin-dump against a simulated instrument that stalls or starts late while its serial input
// queues, as a UART's does: every dump ends with the memory saved whole, or as a failure whose
// ".partial" file holds the blocks the instrument had sent before, never with a wrong ".raw".
// The cases run side by side, so the test takes as long as its longest stall.
#include "dump_fakes.h"
#include "settings_store.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

using namespace ravelin;
using namespace ravelin::test;

namespace {

constexpr int kBlocks = 40;

struct Case {
    QString name;
    QStringList faults; // simulator options
    int kept;           // blocks in the ".partial" of a failed dump; -1: saved whole
};

} // namespace

class E2eStallTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        SaveSetting("COMM", "Settings", "115200,n,8,1");
        SaveSetting("COMM", "Handshaking", "0");
    }

    void stallsAndLateStartsNeverSaveAWrongDump() {
        const QByteArray image = memoryImage(kBlocks * kBlockData);
        writeFile(dir.filePath("image.bin"), image);
        const QStringList drop{"--stall-mode", "drop"}, between{"--stall-mode", "between"};
        auto stall = [](int block, int seconds) {
            return QStringList{"--stall-after-block", QString::number(block), "--stall-ms",
                               QString::number(seconds * 1000)};
        };
        auto late = [](int seconds) {
            return QStringList{"--start-delay-ms", QString::number(seconds * 1000)};
        };
        const QStringList corrupt{"--corrupt-every", "4"};
        const QList<Case> cases = {
            {"3s-finished", stall(5, 3), -1},
            {"3s-dropped", stall(12, 3) + drop, -1},
            {"3s-before-the-answer", stall(20, 3) + between, -1},
            {"8s-finished-corrupt", stall(6, 8) + corrupt, -1},
            {"8s-before-the-header-answer", stall(0, 8) + between, -1},
            {"8s-last-block-dropped", stall(kBlocks - 1, 8) + drop, -1},
            {"120s-finished", stall(9, 120), -1},
            {"late-5s", late(5), -1},
            {"late-30s", late(30), -1},
            // Block 4 comes damaged among the blocks the queued ready bytes fetched: it cannot
            // be asked for again, so the dump ends with blocks 1 to 3.
            {"late-5s-corrupt", late(5) + corrupt, 3},
            {"late-30s-corrupt", late(30) + QStringList{"--corrupt-every", "9"}, 8},
        };

        std::vector<std::unique_ptr<QProcess>> instruments, dumps;
        for (const Case &c : cases) {
            auto &instrument = instruments.emplace_back(std::make_unique<QProcess>());
            instrument->start(RAVELIN_INSTRUMENT,
                              QStringList{"--time-limit", "200", "--linger-ms", "500"} + c.faults +
                                  QStringList{"dump", dir.filePath("image.bin")});
            QVERIFY(instrument->waitForReadyRead(5000));
            const QString pty = QString::fromLocal8Bit(instrument->readLine()).trimmed();
            auto &dump = dumps.emplace_back(std::make_unique<QProcess>());
            dump->start(RAVELIN_DUMP, {"--port", pty, dir.filePath(c.name)});
        }
        // Mid-stall, every block the instrument was told arrived is in the ".partial" file.
        QTest::qWait(6000);
        QCOMPARE(contents(dir.filePath("120s-finished.raw.partial")), image.left(9 * kBlockData));
        for (size_t i = 0; i < dumps.size(); ++i) {
            const Case &c = cases[qsizetype(i)];
            QProcess &dump = *dumps[i];
            QVERIFY2(dump.state() == QProcess::NotRunning || dump.waitForFinished(200000),
                     qPrintable(c.name));
            const QString out = QString::fromLocal8Bit(dump.readAllStandardOutput());
            const QByteArray context = (c.name + ":\n" + out.right(600)).toLocal8Bit();
            const char *why = context.constData();
            const QString raw = dir.filePath(c.name + ".raw");
            if (c.kept < 0) {
                QVERIFY2(dump.exitCode() == 0, why);
                QVERIFY2(out.contains("Upload Finished,  File saved: "), why);
                QVERIFY2(contents(raw) == image, why);
                QVERIFY2(!QFile::exists(raw + ".partial"), why);
                QVERIFY2(instruments[i]->state() == QProcess::NotRunning ||
                             instruments[i]->waitForFinished(10000),
                         why);
                QVERIFY2(instruments[i]->exitCode() == 0, why);
            } else {
                QVERIFY2(dump.exitCode() == 1, why);
                QVERIFY2(out.contains("Dump Aborted: a damaged block came while the instrument "
                                      "was sending ahead"),
                         why);
                QVERIFY2(contents(raw) == "<missing>", why);
                QVERIFY2(contents(raw + ".partial") == image.left(c.kept * kBlockData), why);
            }
            // A stall outlasting the silence time is told, with what to do.
            const bool long_ = c.name.startsWith("8s") || c.name.startsWith("120s");
            QVERIFY2(out.contains("No answer from the instrument for ") == long_, why);
        }
    }
};

QTEST_GUILESS_MAIN(E2eStallTest)
#include "e2e_stall_test.moc"
