// The USB dump loop fed by an instrument whose every answer comes from the input: the length it
// announces, then for each read one step:
//
//   0 n bytes...  a packet of n % 65 bytes        2  a full 64-byte packet
//   1             a read that fails               3  a read that delivers nothing
//
// Whatever it sends, a dump reported saved holds exactly the data delivered and stops short of
// the announced length by at most one packet; a failed dump leaves no ".raw", keeps under
// ".partial" only a prefix of what was delivered, and the pipe is closed once.
#include "fake_line.h"
#include "fuzz_harness.h"
#include "transfer_engine.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using namespace ravelin::fuzz;

namespace {

struct Instrument {
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    Bytes delivered; // the data bytes after the first packet, in order
    std::int32_t announced = 0;
    int reads = 0;
    int opened = 0;
    int closed = 0;

    std::uint8_t next() { return at < size ? data[at++] : 3; }
};

Instrument instrument;

ravelin::UsbBulkApi fuzzedUsb() {
    ravelin::UsbBulkApi api;
    api.getDeviceDescriptor = [](std::uint8_t *d) -> std::int16_t {
        std::memset(d, 0, 18);
        d[8] = 0x15;
        d[9] = 0x08;
        d[10] = 0x2D;
        d[11] = 0x1A;
        return 1;
    };
    api.openUsbPipe = [](const char *) -> std::int16_t {
        ++instrument.opened;
        return 3;
    };
    api.readPipe = [](std::int32_t, void *buffer, std::int32_t requested,
                      std::int32_t *count) -> std::int16_t {
        const bool first = instrument.reads++ == 0;
        std::uint8_t kind = first ? 2 : instrument.next() % 4;
        if (kind == 1) return 0;
        std::size_t n = kind == 0 ? instrument.next() % 65 : kind == 2 ? 64 : 0;
        n = std::min<std::size_t>(n, std::size_t(requested));
        auto *bytes = static_cast<std::uint8_t *>(buffer);
        for (std::size_t i = 0; i < n; ++i) {
            bytes[i] = first ? 0 : instrument.next();
            if (!first) instrument.delivered.push_back(bytes[i]);
        }
        *count = std::int32_t(n);
        return 1;
    };
    api.getLong = [](const std::uint8_t *) -> std::int32_t {
        std::uint32_t announced = 0;
        for (int i = 0; i < 4; ++i)
            announced |= std::uint32_t(instrument.next()) << (8 * i);
        instrument.announced = std::int32_t(announced);
        return instrument.announced;
    };
    api.writePipe = [](std::int32_t, const void *, std::int32_t, std::int32_t *) -> std::int16_t {
        return 0;
    };
    api.closeUsbPipe = [](std::int32_t) -> std::int16_t {
        ++instrument.closed;
        return 1;
    };
    return api;
}

} // namespace

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    // Announced length, then the reads; a full packet takes its 64 data bytes from the input.
    auto dump = [](std::uint32_t announced, int fullPackets, Bytes tail) {
        Bytes input;
        for (int i = 0; i < 4; ++i)
            input.push_back(std::uint8_t(announced >> (8 * i)));
        for (int p = 0; p < fullPackets; ++p) {
            input.push_back(2);
            input.insert(input.end(), 64, std::uint8_t(p + 1));
        }
        input.insert(input.end(), tail.begin(), tail.end());
        return input;
    };
    return {dump(192, 3, {3}),                                     // whole
            dump(256, 3, {3}),                                     // the first packet counted in
            dump(4096, 1, {0, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), // cut short
            dump(300, 4, {1}),                                     // a read fails
            dump(0xFFFFFFFF, 2, {0, 5, 1, 2, 3, 4, 5})};           // no length
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    instrument = Instrument{};
    instrument.data = data;
    instrument.size = size;
    LinePort port;
    SilentSink sink;
    QTimer readyTimer, silenceTimer;
    ravelin::TransferEngine engine(port, readyTimer, silenceTimer, sink);
    engine.setUsbApi(fuzzedUsb());
    engine.setEventPump([](bool) {});
    const fs::path target = scratch_dir() / "usb.raw";
    const fs::path partial = target.string() + ".partial";
    const auto outcome = engine.startDump(QString::fromStdString(target.string()), true);

    check(instrument.opened == 1 && instrument.closed == 1, "the pipe was not closed once");
    check(sink.worstPercent == 0, "progress shown outside 0-100");
    std::error_code ignored;
    if (outcome == ravelin::TransferOutcome::Completed) {
        check(!fs::exists(partial), "a saved dump left its partial file");
        check(read_file(target) == instrument.delivered, "the saved dump is not what arrived");
        check(!instrument.delivered.empty(), "an empty dump was saved");
        // An announced length that cannot be true is no length to hold the instrument to.
        if (instrument.announced > 0 && instrument.announced <= 12500000)
            check(instrument.announced - std::int64_t(instrument.delivered.size()) <= 64,
                  "a dump cut short was saved");
    } else {
        check(!fs::exists(target), "a failed dump took the real name");
        const Bytes kept = fs::exists(partial) ? read_file(partial) : Bytes{};
        check(kept.size() <= instrument.delivered.size() &&
                  std::equal(kept.begin(), kept.end(), instrument.delivered.begin()),
              "the partial file is not a prefix of what arrived");
    }
    fs::remove(target, ignored);
    fs::remove(partial, ignored);
    return 0;
}
