// ravelin-bench-serial: the serial dump's software throughput. The instrument simulator plays
// the instrument on a pseudo-terminal, which has no baud limit, so the figure is how fast the PC
// side (port component, receiveDumpData, file) answers blocks.
// Usage: ravelin-bench-serial [MEGABYTES] [--live]   (default 8)
#include "bench_support.h"
#include "mscomm.h"
#include "mscomm_channel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

using namespace ravelin;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const bench::Arguments args(argc, argv, 8.0);
    const qint64 size = args.bytes();
    QTemporaryDir dir;
    const QByteArray image = bench::memoryImage(size);
    QFile imageFile(dir.filePath("image.bin"));
    if (!imageFile.open(QIODevice::WriteOnly) || imageFile.write(image) != size) return 2;
    imageFile.close();

    QProcess instrument;
    instrument.start(QCoreApplication::applicationDirPath() + "/ravelin-instrument",
                     {"--linger-ms", "200", "dump", imageFile.fileName()});
    if (!instrument.waitForStarted() || !instrument.waitForReadyRead(10000)) {
        std::fprintf(stderr, "ravelin-bench-serial: cannot start ravelin-instrument\n");
        return 2;
    }
    const QString pty = QString::fromLocal8Bit(instrument.readLine()).trimmed();

    MSComm comm;
    comm.setDevicePathOverride(pty);
    PortSettings settings;
    settings.baudRate = QSerialPort::Baud115200;
    comm.setSettings(settings);
    MSCommChannel channel(comm);
    QTimer timer1, timer2;
    bench::CountingSink sink;
    TransferEngine engine(channel, timer1, timer2, sink);
    QObject::connect(&comm, &MSComm::OnComm, &engine, &TransferEngine::takeInput);
    const std::unique_ptr<LiveDump> live = bench::attachLive(args, engine);
    bench::PumpWatch watch;
    watch.attach(engine);

    // Timed from the header on, so the first ready tick (500 ms) is not counted.
    std::optional<bench::DumpClock> clock;
    QObject::connect(&comm, &MSComm::OnComm, &engine, [&] {
        if (!clock) clock.emplace();
    });
    const QString raw = dir.filePath("bench.raw");
    const bool ok =
        engine.startDump(raw, false) == TransferOutcome::Completed && QFile(raw).size() >= size;
    if (!clock) return 2;
    clock->stop();
    instrument.waitForFinished(5000);
    bench::reportLive(live.get());
    return bench::report("serial dump over a pseudo-terminal", size, *clock, 1.0, watch, ok);
}
