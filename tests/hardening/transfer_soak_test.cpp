// Transfer fault soak: dumps and uploads through the instrument simulator over a pseudo-terminal,
// each with faults drawn from a seeded generator (RAVELIN_SOAK_SEED to replay another run).
// A dump that completes must equal its memory image byte for byte; one that fails must say so and
// leave no file under the chosen name, only a ".partial" file holding whole blocks of the image.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <random>

namespace {

constexpr int kBlockData = 252;
constexpr int kDumps = 22;
constexpr int kUploads = 20;

enum class DumpFault {
    None,
    CorruptChance,
    CorruptEvery,
    Stray,
    Silence,
    Empty,
    BadHeader,
    CablePulled,
    Mixed,
    Stall,    // the instrument stops, its input queuing, past the PC's silence time
    LateStart // DUMP started after the PC's ready bytes queued up
};
constexpr DumpFault kDumpFaults[] = {
    DumpFault::None,    DumpFault::CorruptChance, DumpFault::CorruptEvery, DumpFault::Stray,
    DumpFault::Silence, DumpFault::Empty,         DumpFault::BadHeader,    DumpFault::CablePulled,
    DumpFault::Mixed,   DumpFault::Stall,         DumpFault::LateStart};

const char *name(DumpFault fault) {
    static const char *const names[] = {
        "none",       "corrupt-chance", "corrupt-every", "stray", "silence",   "empty",
        "bad header", "cable pulled",   "mixed",         "stall", "late start"};
    return names[int(fault)];
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The simulator on its own pseudo-terminal; killed if still running at the end.
class Instrument {
  public:
    explicit Instrument(const QStringList &arguments) {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(RAVELIN_INSTRUMENT_PATH, arguments);
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Instrument() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    const QString &device() const { return device_; }
    void pullCable() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    int exitCode(int limitMs) {
        if (!process_.waitForFinished(limitMs)) return -1;
        return process_.exitCode();
    }

  private:
    QProcess process_;
    QString device_;
};

struct ToolRun {
    int exitCode = -1; // -1: did not end in time
    QString output;
};

class TransferSoak : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char arg0[] = "transfer_soak_test";
        static char *argv[] = {arg0, nullptr};
        if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Before the static destructors, while Qt is still whole.
    static void TearDownTestSuite() { app_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QByteArray seed = qgetenv("RAVELIN_SOAK_SEED");
        random_.seed(seed.isEmpty() ? 20061105u : seed.toUInt());
        std::printf("soak seed %s\n", seed.isEmpty() ? "20061105" : seed.constData());
    }

    int draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // A transfer tool with the settings store in the test's folder and no flow control, which
    // would take 0x11 and 0x13 out of the data.
    ToolRun runTool(const char *tool, const QString &device, const QString &file,
                    Instrument *pullAfter = nullptr, int pullMs = 0) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, {"--port", device, "--settings", "115200,n,8,1", "--flow", "0", file});
        if (pullAfter) {
            process.waitForFinished(pullMs);
            pullAfter->pullCable();
        }
        ToolRun run;
        if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
            run.exitCode = process.exitCode();
        else
            process.kill();
        process.waitForFinished(2000);
        run.output = QString::fromLocal8Bit(process.readAll());
        return run;
    }

    QByteArray randomBytes(int size) {
        QByteArray bytes(size, '\0');
        for (char &b : bytes)
            b = char(draw(0, 255));
        return bytes;
    }

    static std::unique_ptr<QCoreApplication> app_;
    QTemporaryDir dir_;
    std::mt19937 random_;
};

std::unique_ptr<QCoreApplication> TransferSoak::app_;

TEST_F(TransferSoak, DumpsWithFaultsAreWholeOrSayTheyFailed) {
    int completed = 0, failed = 0, empty = 0, partialBlocks = 0;
    for (int i = 0; i < kDumps; ++i) {
        const DumpFault fault = kDumpFaults[std::size_t(i) % std::size(kDumpFaults)];
        // Mostly whole blocks; every fourth image ends inside its last block.
        const int blocks = draw(2, 24);
        const int size = blocks * kBlockData - (i % 4 == 3 ? draw(1, kBlockData - 1) : 0);
        const QByteArray image = randomBytes(size);
        const QString imagePath = dir_.filePath(QString("image%1.bin").arg(i));
        writeAll(imagePath, image);

        QStringList args{"--seed",       QString::number(draw(1, 1 << 30)),
                         "--time-limit", "40",
                         "--linger-ms",  "500"};
        switch (fault) {
        case DumpFault::None:
            break;
        case DumpFault::CorruptChance:
            args << "--corrupt-chance" << QString::number(draw(10, 60));
            break;
        case DumpFault::CorruptEvery:
            args << "--corrupt-every" << QString::number(draw(1, 4));
            break;
        case DumpFault::Stray:
            // Fewer than the ten header characters: the PC drops them after its silence time.
            // Ten or more are a header that is not a length, which ends the dump (BadHeader).
            args << "--stray" << randomBytes(draw(1, 9)).toHex();
            break;
        case DumpFault::Silence:
            args << "--silence-ms"
                 << "2300";
            break;
        case DumpFault::Empty:
            args << "--empty";
            break;
        case DumpFault::BadHeader:
            args << "--header"
                 << "00012x4500";
            break;
        case DumpFault::CablePulled:
            args << "--silence-ms"
                 << "20000"
                 << "--silence-every"
                 << "2";
            break;
        case DumpFault::Mixed:
            args << "--corrupt-chance"
                 << "30"
                 << "--stray"
                 << "0653"
                 << "--silence-ms"
                 << "2200";
            break;
        case DumpFault::Stall: {
            static const char *const modes[] = {"between", "drop", "finish"};
            args << "--stall-after-block" << QString::number(draw(0, blocks - 1)) << "--stall-ms"
                 << QString::number(draw(2500, 6000)) << "--stall-mode" << modes[draw(0, 2)];
            break;
        }
        case DumpFault::LateStart:
            args << "--start-delay-ms" << QString::number(draw(1000, 4000));
            break;
        }
        args << "dump" << imagePath;
        SCOPED_TRACE(QString("dump %1, fault %2, %3 bytes, simulator %4")
                         .arg(i)
                         .arg(name(fault))
                         .arg(size)
                         .arg(args.join(' '))
                         .toStdString());

        Instrument instrument(args);
        ASSERT_FALSE(instrument.device().isEmpty());
        const QString target = dir_.filePath(QString("dump%1.raw").arg(i));
        const bool pull = fault == DumpFault::CablePulled;
        const ToolRun run = runTool(RAVELIN_DUMP_PATH, instrument.device(), target,
                                    pull ? &instrument : nullptr, 1500);
        SCOPED_TRACE(run.output.toStdString());
        ASSERT_NE(run.exitCode, -1) << "the dump did not end";
        const QByteArray partial = readAll(target + ".partial");

        if (run.exitCode == 0) {
            ++completed;
            EXPECT_TRUE(fault != DumpFault::Empty && fault != DumpFault::BadHeader &&
                        fault != DumpFault::CablePulled);
            const QByteArray saved = readAll(target);
            const int rounded = (size + kBlockData - 1) / kBlockData * kBlockData;
            ASSERT_EQ(saved.size(), rounded);
            EXPECT_EQ(saved.left(size), image) << "the saved dump differs from the memory";
            EXPECT_FALSE(QFile::exists(target + ".partial"));
            EXPECT_TRUE(run.output.contains("Upload Finished,  File saved: "));
            continue;
        }
        EXPECT_FALSE(QFile::exists(target)) << "a failed dump left a file under its own name";
        if (run.exitCode == 3) {
            ++empty;
            EXPECT_EQ(fault, DumpFault::Empty);
            EXPECT_TRUE(run.output.contains("Data Memory Empty"));
            EXPECT_FALSE(QFile::exists(target + ".partial"));
            continue;
        }
        ++failed;
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(fault == DumpFault::BadHeader || fault == DumpFault::CablePulled)
            << "a dump with recoverable faults failed";
        EXPECT_TRUE(run.output.contains("Dump Aborted")) << "the failure is not reported";
        // What was received stays, in whole blocks, exactly as the memory held it.
        EXPECT_EQ(partial.size() % kBlockData, 0);
        partialBlocks += int(partial.size() / kBlockData);
        EXPECT_EQ(partial, image.left(partial.size()));
    }
    std::printf("dumps: %d completed, %d failed as they should (%d blocks kept in .partial "
                "files), %d empty\n",
                completed, failed, partialBlocks, empty);
}

TEST_F(TransferSoak, UploadsWithRepeatRequestsSendEveryLineOnce) {
    for (int i = 0; i < kUploads; ++i) {
        const int lines = draw(1, 60);
        QByteArray system = QByteArray::number(lines) + "\r\n";
        QByteArray expected;
        for (int l = 0; l < lines; ++l) {
            QByteArray line;
            for (int c = draw(1, 60); c > 0; --c)
                line += char(draw(0x20, 0x7E));
            system += line + "\r\n";
            expected += line + "\r\n";
        }
        const QString sysPath = dir_.filePath(QString("os%1.sys").arg(i));
        writeAll(sysPath, system);
        const QString received = dir_.filePath(QString("received%1.txt").arg(i));
        const QStringList args{"--seed",          QString::number(draw(1, 1 << 30)),
                               "--repeat-chance", QString::number(draw(0, 50)),
                               "--lines",         QString::number(lines),
                               "--time-limit",    "40",
                               "--linger-ms",     "500",
                               "upload",          received};
        SCOPED_TRACE(QString("upload %1, %2 lines, simulator %3")
                         .arg(i)
                         .arg(lines)
                         .arg(args.join(' '))
                         .toStdString());

        Instrument instrument(args);
        ASSERT_FALSE(instrument.device().isEmpty());
        const ToolRun run = runTool(RAVELIN_UPLOAD_PATH, instrument.device(), sysPath);
        SCOPED_TRACE(run.output.toStdString());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(
            run.output.contains("New Operating System Downloaded, wait for UNIT to POWER DOWN"));
        EXPECT_EQ(instrument.exitCode(5000), 0) << "a repeated line differed";
        EXPECT_EQ(readAll(received), expected);
    }
}

} // namespace
