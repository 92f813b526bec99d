// ravelin-dump and ravelin-upload against the instrument simulator over a real pseudo-terminal
// (serial) and against the fake usbbulk library (USB), as a user in the field would run them.
#include "dump_fakes.h"
#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <pty.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace ravelin;
using namespace ravelin::test;

namespace {

void write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray paddedToBlocks(const QByteArray &image) {
    const qsizetype rest = image.size() % kBlockData;
    return rest == 0 ? image : image + QByteArray(kBlockData - rest, char(0xFF));
}

struct Run {
    int exitCode = -1;
    QString out;
};

} // namespace

class E2eTransferTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QProcess instrument;

    // Starts the simulator; returns the pseudo-terminal it plays on.
    QString startInstrument(const QStringList &args) {
        instrument.setProgram(RAVELIN_INSTRUMENT);
        instrument.setArguments(QStringList{"--time-limit", "60", "--linger-ms", "500"} + args);
        instrument.setProcessChannelMode(QProcess::SeparateChannels);
        instrument.start();
        if (!instrument.waitForStarted(5000)) return {};
        while (!instrument.canReadLine())
            if (!instrument.waitForReadyRead(5000)) return {};
        return QString::fromLocal8Bit(instrument.readLine()).trimmed();
    }
    int instrumentExit() {
        if (!instrument.waitForFinished(30000)) instrument.kill();
        return instrument.exitCode();
    }

    Run tool(const char *program, const QStringList &args,
             const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        Run run;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
        }
        run.exitCode = p.exitCode();
        run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        return run;
    }

    QProcessEnvironment usbEnvironment() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FAKE_USBBULK_IMAGE", dir.filePath("usb-image.bin"));
        env.insert("FAKE_USBBULK_UPLOAD_SINK", dir.filePath("usb-sink.bin"));
        return env;
    }

  private slots:
    void initTestCase() {
        // The tools read their port defaults from this store, as the window does.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        SaveSetting("COMM", "Settings", "115200,n,8,1");
        SaveSetting("COMM", "Handshaking", "0");
    }
    void cleanup() {
        if (instrument.state() != QProcess::NotRunning) instrument.kill();
        instrument.waitForFinished();
    }

    void serialDumpAtStoredSettingsEqualsTheImage_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("clean line") << QStringList{};
        QTest::newRow("every 40th block corrupted, 2.5 s silence, stray bytes")
            << QStringList{"--corrupt-every", "40", "--silence-ms", "2500", "--stray", "41420D"};
    }
    void serialDumpAtStoredSettingsEqualsTheImage() {
        QFETCH(QStringList, faults);
        const QByteArray image = memoryImage(1000000);
        write(dir.filePath("image.bin"), image);
        const QString pty =
            startInstrument(faults + QStringList{"dump", dir.filePath("image.bin")});
        QVERIFY(!pty.isEmpty());
        const QString raw = dir.filePath("survey.raw");
        write(raw, QByteArray(1100000, 'o')); // an older, longer dump of the same name

        const Run run = tool(RAVELIN_DUMP, {"--port", pty, dir.filePath("survey.txt")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(
            run.out.endsWith("Upload Finished,  File saved: " + dir.filePath("survey.tvd") + "\n"),
            qPrintable(run.out.right(200)));
        QVERIFY(run.out.startsWith("Syncronizing....\n"));
        QVERIFY(run.out.contains("\nON-LINE...\n"));
        QVERIFY(contents(raw) == paddedToBlocks(image)); // not QCOMPARE: 1 MB in a failure
        QVERIFY(!QFile::exists(raw + ".partial"));
        QCOMPARE(instrumentExit(), 0);
    }

    // Ctrl-C ends an upload that waits on a silent line, as it ends a dump.
    void ctrlCEndsAWaitingUpload() {
        int controller = -1, device = -1;
        char line[256] = {};
        QCOMPARE(::openpty(&controller, &device, line, nullptr, nullptr), 0);
        write(dir.filePath("os.sys"), "1\r\nA\r\n");
        QProcess upload;
        upload.start(RAVELIN_UPLOAD, {"--port", line, dir.filePath("os.sys")});
        QVERIFY(upload.waitForReadyRead(10000)); // "Syncronizing...."
        ::kill(pid_t(upload.processId()), SIGINT);
        QVERIFY(upload.waitForFinished(10000));
        ::close(controller);
        ::close(device);
        QCOMPARE(upload.exitCode(), 1);
        QCOMPARE(QString(upload.readAllStandardOutput()),
                 QString("Syncronizing....\nUpload Aborted\n"));
    }

    void emptyMemoryLeavesNoFile() {
        write(dir.filePath("image.bin"), "x");
        const QString pty = startInstrument({"--empty", "dump", dir.filePath("image.bin")});
        const Run run = tool(RAVELIN_DUMP, {"--port", pty, dir.filePath("empty")});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QString("Syncronizing....\nError: Data Memory Empty\nDump Aborted\n"));
        QVERIFY(!QFile::exists(dir.filePath("empty.raw")));
        QVERIFY(!QFile::exists(dir.filePath("empty.raw.partial")));
    }

    void malformedHeaderEndsTheDumpAndLeavesNoFile() {
        write(dir.filePath("image.bin"), memoryImage(2000));
        const QString pty =
            startInstrument({"--header", "12ab567890", "dump", dir.filePath("image.bin")});
        const Run run = tool(RAVELIN_DUMP, {"--port", pty, dir.filePath("bad.raw")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains("Dump Aborted: the instrument sent \"12ab567890\" instead of a "
                                  "length"),
                 qPrintable(run.out));
        QVERIFY(!QFile::exists(dir.filePath("bad.raw")));
        QVERIFY(!QFile::exists(dir.filePath("bad.raw.partial")));
    }

    void serialUploadArrivesInOrder_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("no repeats") << QStringList{};
        QTest::newRow("every 3rd line asked again") << QStringList{"--repeat-every", "3"};
    }
    void serialUploadArrivesInOrder() {
        QFETCH(QStringList, faults);
        QByteArray lines;
        for (int i = 1; i <= 300; ++i)
            lines += "S1" + QByteArray::number(i * 7919, 16) + "\r\n";
        write(dir.filePath("new.sys"), "300\r\n" + lines);
        const QString received = dir.filePath("received.txt");
        const QString pty =
            startInstrument(faults + QStringList{"--lines", "300", "upload", received});
        const Run run = tool(RAVELIN_UPLOAD, {"--port", pty, dir.filePath("new.sys")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("\n100% Completed\n"));
        QVERIFY(run.out.endsWith("New Operating System Downloaded, wait for UNIT to POWER DOWN\n"));
        QCOMPARE(instrumentExit(), 0);
        QCOMPARE(contents(received), lines);
    }

    void usbDumpEqualsTheImageExactly() {
        const QByteArray image = memoryImage(64 * 1000 + 10); // the last read delivers 10
        write(dir.filePath("usb-image.bin"), image);
        const Run run =
            tool(RAVELIN_DUMP, {"--usb", "--usb-library", FAKE_USBBULK, dir.filePath("usb")},
                 usbEnvironment());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Reading KX-4 data......\n"));
        QVERIFY(contents(dir.filePath("usb.raw")) == image);
    }

    void usbUploadSendsPackets() {
        write(dir.filePath("usb.sys"), "2\r\nFIRST LINE\r\n" + QByteArray(48, 'z') + "\r\n");
        QFile::remove(dir.filePath("usb-sink.bin"));
        const Run run =
            tool(RAVELIN_UPLOAD, {"--usb", "--usb-library", FAKE_USBBULK, dir.filePath("usb.sys")},
                 usbEnvironment());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(contents(dir.filePath("usb-sink.bin")),
                 "FIRST LINE" + QByteArray(38, '\0') + QByteArray(48, 'z'));
    }

    void missingUsbLibraryIsReported() {
        const Run run = tool(RAVELIN_DUMP, {"--usb", "--usb-library", dir.filePath("nothing.so"),
                                            dir.filePath("nolib")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.startsWith("Cannot load the USB library"));
    }

    // ---- USB: an instrument that stalls or starts late --------------------------------------

    // Stalls shorter and longer than the 5 s read timeout, before the first data, in the middle
    // and in the last packet, some after part of a packet was sent; an instrument started after
    // the first read gave up; a read failing otherwise. Each dump ends with the image saved, or
    // failed keeping exactly what was sent before the stall. They run side by side (about 6 s).
    void usbStallsEndWholeOrKeepWhatWasSent() {
        const QByteArray image = memoryImage(64 * 1000);
        write(dir.filePath("usb-stall-image.bin"), image);
        const QString stopped = "Dump Aborted: the instrument stopped sending after %1 bytes";
        const QStringList half = {"STALL_MS=8000", "STALL_PART_SENT=20"};
        // name, FAKE_USBBULK_ settings, bytes kept (-1: saved whole), a line of the output
        const QList<std::tuple<QString, QStringList, int, QString>> cases = {
            {"3s-first", {"STALL_AFTER_PACKET=1", "STALL_MS=3000"}, -1, "File saved"},
            {"3s-half",
             {"STALL_AFTER_PACKET=600", "STALL_MS=3000", "STALL_PART_SENT=20"},
             -1,
             "File saved"},
            {"late", {"START_DELAY_MS=5500"}, -1, "File saved"},
            {"8s", {"STALL_AFTER_PACKET=2", "STALL_MS=8000"}, 64, stopped.arg("64 of 64000")},
            {"8s-half-last", half + QStringList{"STALL_AFTER_PACKET=1000"}, 63956,
             stopped.arg("63956 of 64000")},
            {"8s-half-no-length",
             half + QStringList{"STALL_AFTER_PACKET=600", "ANNOUNCED_LENGTH=-1"}, 38356,
             stopped.arg(38356)},
            {"read-fails", {"READ_FAILS_AFTER=0"}, 0, "USB DEVICE NOT DETECTED"},
        };
        std::vector<std::unique_ptr<QProcess>> dumps;
        for (const auto &[name, settings, kept, line] : cases) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("FAKE_USBBULK_IMAGE", dir.filePath("usb-stall-image.bin"));
            for (const QString &setting : settings)
                env.insert("FAKE_USBBULK_" + setting.section('=', 0, 0), setting.section('=', 1));
            dumps.push_back(std::make_unique<QProcess>());
            dumps.back()->setProcessEnvironment(env);
            dumps.back()->start(RAVELIN_DUMP,
                                {"--usb", "--usb-library", FAKE_USBBULK, dir.filePath(name)});
        }
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const auto &[name, settings, kept, line] = cases[i];
            QProcess &dump = *dumps[size_t(i)];
            QVERIFY2(dump.waitForFinished(30000), qPrintable(name));
            const QString out = QString::fromLocal8Bit(dump.readAllStandardOutput());
            const QByteArray context = (name + ":\n" + out).toLocal8Bit();
            const char *why = context.constData();
            const QString raw = dir.filePath(name + ".raw");
            QVERIFY2(dump.exitCode() == (kept < 0 ? 0 : 1), why);
            QVERIFY2(out.contains(line) && out.contains("File saved") == (kept < 0), why);
            QVERIFY2(out.startsWith("Syncronizing.... start DUMP on the instrument\n") ==
                         (name == "late"),
                     why);
            QVERIFY2(contents(raw) == (kept < 0 ? image : "<missing>"), why);
            QVERIFY2(contents(raw + ".partial") == (kept > 0 ? image.left(kept) : "<missing>"),
                     why);
        }
    }
};

QTEST_GUILESS_MAIN(E2eTransferTest)
#include "e2e_transfer_test.moc"
