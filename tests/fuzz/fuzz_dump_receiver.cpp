// The serial dump's receiving side fed arbitrary byte streams and timer ticks. The input is a
// script of steps, so the fuzzer reaches the block stage without having to find check sums:
//
//   0 n bytes...  n raw bytes from the line          3 d d d d  a length header (d as a count)
//   1             2000 ms of silence (Timer2)        4 n bytes... p  a block with byte p changed
//   2 n bytes...  a sound block carrying the bytes   5             the line went quiet
//
// Whatever arrives, the receiver must never write a block whose check fails, never write more than
// the announced length rounded to whole blocks, and keep its counters in range.
#include "dump_receiver.h"
#include "fake_line.h"
#include "fuzz_harness.h"

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace fs = std::filesystem;
using namespace ravelin::fuzz;
using ravelin::fuzz::Bytes;

namespace {

class Script {
  public:
    Script(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    Bytes take(std::size_t n) {
        n = std::min(n, size_ - at_);
        Bytes out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

  private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

Bytes sound_block(const Bytes &data) {
    Bytes block{ravelin::kBlockStart};
    for (int i = 0; i < ravelin::kBlockData; ++i)
        block.push_back(i < int(data.size()) ? data[std::size_t(i)] : std::uint8_t(i));
    std::uint8_t sum = 0;
    for (std::uint8_t b : block)
        sum = std::uint8_t(sum + b);
    block.push_back(0x80);
    block.push_back(std::uint8_t(0x80 - sum));
    return block;
}

Bytes length_header(std::uint32_t count) {
    const std::string text = std::to_string(count);
    Bytes header(std::size_t(ravelin::kHeaderSize) - std::min<std::size_t>(text.size(), 10), '0');
    header.insert(header.end(), text.begin(), text.end());
    header.resize(ravelin::kHeaderSize);
    return header;
}

// The data of every 255-byte stretch of the line that starts with S and sums to 0 modulo 256.
std::set<std::string> sound_blocks_on(const Bytes &line) {
    std::set<std::string> found;
    const std::size_t block = ravelin::kBlockSize;
    std::uint8_t sum = 0;
    for (std::size_t at = 0; at < line.size(); ++at) {
        sum = std::uint8_t(sum + line[at]);
        if (at + 1 < block) continue;
        const std::size_t start = at + 1 - block;
        if (sum == 0 && line[start] == ravelin::kBlockStart)
            found.emplace(reinterpret_cast<const char *>(line.data()) + start + 1,
                          std::size_t(ravelin::kBlockData));
        sum = std::uint8_t(sum - line[start]);
    }
    return found;
}

} // namespace

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    // A header announcing 600 bytes, a rejected block, silence, then the three blocks.
    Bytes dump{3, 0, 0, 2, 88, 4, 40};
    dump.insert(dump.end(), 40, 7);
    dump.push_back(200);
    dump.push_back(1);
    for (int i = 0; i < 3; ++i) {
        dump.push_back(2);
        dump.push_back(252);
        dump.insert(dump.end(), 252, std::uint8_t(i * 31));
    }
    // The same stream as raw line bytes, split unevenly.
    Bytes raw;
    auto line = length_header(300);
    for (const Bytes &part : {line, sound_block(Bytes(252, 1)), sound_block(Bytes(252, 2))})
        for (std::size_t at = 0; at < part.size(); at += 100) {
            const std::size_t n = std::min<std::size_t>(100, part.size() - at);
            raw.push_back(0);
            raw.push_back(std::uint8_t(n));
            raw.insert(raw.end(), part.begin() + long(at), part.begin() + long(at + n));
        }
    Bytes empty{3, 0, 0, 0, 0};
    Bytes garbage{0, 10, 'x', '1', '2', ' ', '-', '9', '9', '9', '9', '9', 1, 0, 5, '1'};
    return {dump, raw, empty, garbage};
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ravelin::TransferEnd end;
    ravelin::fuzz::LinePort port;
    ravelin::fuzz::SilentSink sink;
    QTimer timer1, timer2, quiet;
    const fs::path target = scratch_dir() / "dump.raw";
    auto file = std::make_unique<ravelin::DumpFile>();
    check(file->open(QString::fromStdString(target.string())), "cannot open the dump file");
    ravelin::DumpReceiver receiver(end, port, timer1, timer2, quiet, sink, *file);
    receiver.begin();

    Bytes line; // everything the instrument side sent, in order
    auto arrive = [&](const Bytes &bytes) {
        line.insert(line.end(), bytes.begin(), bytes.end());
        port.incoming.insert(port.incoming.end(), bytes.begin(), bytes.end());
        receiver.receiveDumpData();
    };
    Script script(data, size);
    while (!script.done()) {
        switch (script.next() % 6) {
        case 0:
            arrive(script.take(script.next()));
            break;
        case 1:
            receiver.onSilence();
            break;
        case 2:
            arrive(sound_block(script.take(script.next())));
            break;
        case 5:
            receiver.onQuiet();
            break;
        case 3: {
            std::uint32_t count = 0;
            for (int i = 0; i < 4; ++i)
                count = count << 8 | script.next();
            arrive(length_header(count % 20000));
            break;
        }
        default: {
            Bytes block = sound_block(script.take(script.next()));
            block[script.next() % block.size()] ^= std::uint8_t(1 + script.next() % 255);
            arrive(block);
        }
        }
    }

    check(receiver.received() % ravelin::kBlockData == 0, "part of a block was counted");
    check(file->written() == receiver.received(), "the file and the count disagree");
    if (receiver.received() > 0)
        check(receiver.received() <= receiver.dumpLength(), "more written than announced");
    check(receiver.done() ==
              (receiver.received() > 0 && receiver.received() >= receiver.dumpLength()),
          "done() does not match the bytes received");
    check(!(receiver.memoryEmpty() && receiver.received() > 0), "an empty memory with data");

    check(sink.worstPercent == 0, "progress shown outside 0-100");

    const bool kept = file->keepPartial();
    file.reset();
    const fs::path partial = target.string() + ".partial";
    check(kept == fs::exists(partial), "the partial file is not where it should be");
    const Bytes written = kept ? read_file(partial) : Bytes{};
    check(std::int64_t(written.size()) == receiver.received(), "the file on disk is short");
    const std::set<std::string> sound = sound_blocks_on(line);
    for (std::size_t at = 0; at < written.size(); at += ravelin::kBlockData)
        check(sound.contains(std::string(reinterpret_cast<const char *>(written.data()) + at,
                                         std::size_t(ravelin::kBlockData))),
              "wrote a block that failed its check");
    std::error_code ignored;
    fs::remove(partial, ignored);
    return 0;
}
