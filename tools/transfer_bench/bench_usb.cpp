// ravelin-bench-usb: the USB dump loop against the fake usbbulk library, which answers every
// read at once, so the figure is how fast the PC side (reads, file, progress, event pumps) goes.
// Usage: ravelin-bench-usb [MEGABYTES]   (default 12.5, the largest memory)
#include "bench_support.h"
#include "fake_usbbulk.h"

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
    const qint64 size = qint64((argc > 1 ? QByteArray(argv[1]).toDouble() : 12.5) * 1000000);
    const QString libraryPath = QCoreApplication::applicationDirPath() + "/libfake_usbbulk.so";
    QLibrary fake(libraryPath);
    auto setImage =
        reinterpret_cast<decltype(&fake_usbbulk_set_image)>(fake.resolve("fake_usbbulk_set_image"));
    if (!setImage) {
        std::fprintf(stderr, "ravelin-bench-usb: cannot load %s\n", qPrintable(libraryPath));
        return 2;
    }
    QByteArray image(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        image[i] = char((i * 131 + i / 977) & 0xFF);
    setImage(reinterpret_cast<const uint8_t *>(image.constData()), size);

    QTemporaryDir dir;
    NoPort port;
    QTimer timer1, timer2;
    bench::CountingSink sink;
    TransferEngine engine(port, timer1, timer2, sink);
    engine.setUsbLibraryPath(libraryPath);
    bench::PumpWatch watch;
    watch.attach(engine);

    const QString raw = dir.filePath("bench.raw");
    QElapsedTimer clock;
    clock.start();
    const bool ok =
        engine.startDump(raw, true) == TransferOutcome::Completed && QFile(raw).size() == size;
    const qint64 ns = clock.nsecsElapsed();
    return bench::report("USB dump loop against the fake library", size, ns, 20.0, watch, ok);
}
