// ravelin-bench-usb: the USB dump loop against the fake usbbulk library, which answers every
// read at once, so the figure is how fast the PC side (reads, file, progress, event pumps) goes.
// Usage: ravelin-bench-usb [MEGABYTES] [--live]   (default 12.5, the largest memory)
#include "bench_support.h"
#include "fake_usb_image.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTimer>

using namespace ravelin;

namespace {

// The serial side is not used by a USB dump.
struct NoPort : SerialChannel {
    int InBufferCount() override { return 0; }
    void DiscardInput() override {}
    uint8_t InputByte() override { return 0; }
    void Output(const QByteArray &) override {}
    void setPortOpen(bool) override {}
    void setSettings(const PortSettings &) override {}
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const bench::Arguments args(argc, argv, 12.5);
    const qint64 size = args.bytes();
    QLibrary fake;
    const QString libraryPath =
        bench::loadFakeUsb(fake, bench::memoryImage(size), "ravelin-bench-usb");
    if (libraryPath.isEmpty()) return 2;

    QTemporaryDir dir;
    NoPort port;
    QTimer timer1, timer2;
    bench::CountingSink sink;
    TransferEngine engine(port, timer1, timer2, sink);
    engine.setUsbLibraryPath(libraryPath);
    const std::unique_ptr<LiveDump> live = bench::attachLive(args, engine);
    bench::PumpWatch watch;
    watch.attach(engine);

    const QString raw = dir.filePath("bench.raw");
    bench::DumpClock clock;
    const bool ok =
        engine.startDump(raw, true) == TransferOutcome::Completed && QFile(raw).size() == size;
    clock.stop();
    bench::reportLive(live.get());
    return bench::report("USB dump loop against the fake library", size, clock, 20.0, watch, ok);
}
