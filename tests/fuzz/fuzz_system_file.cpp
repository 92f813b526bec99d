// The upload's checks of a system file on arbitrary bytes, then the serial upload of every file
// the checks accept. Input: one byte of options (bit 0: the USB way's packet limit; the rest
// seeds the instrument's repeat requests), then the file.
//
// An accepted file must announce 1 to 32767 lines and hold at least that many, within 48
// characters on USB; its upload must send exactly the announced lines in order, each followed
// by CR LF, a repeat request sending the last line again (after the end too).
#include "fake_line.h"
#include "fuzz_harness.h"
#include "system_file.h"
#include "upload_sender.h"

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace ravelin::fuzz;

namespace {

// Runs the accepted file's serial upload with an instrument that asks for each line, sometimes
// twice, and mixes in bytes the PC must ignore.
void upload(const ravelin::SystemFile &system, std::uint8_t options) {
    LinePort port;
    SilentSink sink;
    QTimer timer1;
    ravelin::UploadSender sender(port, timer1, sink);
    sender.begin(system.lines, system.LineTotal);

    QByteArray expected;
    std::uint32_t noise = options;
    port.incoming.push_back(0x42); // a stray byte, then the exchange opens
    port.incoming.push_back(ravelin::kNextLine);
    sender.sendSystemLines();
    for (int line = 0; line < system.LineTotal; ++line) {
        noise = noise * 1103515245u + 12345u;
        port.incoming.push_back(ravelin::kNextLine);
        expected += system.lines[line] + "\r\n";
        if (noise >> 28 == 0) {
            port.incoming.push_back(ravelin::kRepeat);
            expected += system.lines[line] + "\r\n";
        }
        if (noise >> 28 == 1) port.incoming.push_back(0x06);
        sender.sendSystemLines();
    }
    check(sender.done(), "the upload did not end after the announced lines");
    check(port.sent == expected, "the upload sent other bytes than the file's lines");
    check(sink.worstPercent == 0, "progress shown outside 0-100");
    // After the end only the last line is sent again when asked for; nothing else is answered.
    port.incoming.push_back(ravelin::kNextLine);
    port.incoming.push_back(0x06);
    port.incoming.push_back(ravelin::kRepeat);
    sender.sendSystemLines();
    expected += system.lines[system.LineTotal - 1] + "\r\n";
    check(port.sent == expected, "the wrong bytes were sent after the upload ended");
}

} // namespace

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    auto file = [](std::uint8_t options, const std::string &text) {
        const std::string input = static_cast<char>(options) + text;
        return Bytes(input.begin(), input.end());
    };
    return {
        file(0, "3\r\nS00300000001\r\nS1130000AABBCCDD\r\nS9030000FC\r\n"),
        file(1, "2\r\n:10000000FFFFFFFF\r\n:00000001FF\r\n"),
        file(1, "1\r\n" + std::string(49, 'A') + "\r\n"),
        file(6, "4.6 lines\nA\nB\r\nC\nD\nE"),
        file(0, "-3\r\nA\r\n"),
        file(0, "40000\r\nA\r\n"),
        file(0, "\r\n"),
        file(0, ""),
    };
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const bool usb = options & 1;
    const fs::path path = scratch_dir() / "system.sys";
    write_file(path, data + 1, size - 1);
    const ravelin::SystemFile system =
        ravelin::readSystemFile(QString::fromStdString(path.string()), usb);
    if (!system.error.isEmpty()) {
        check(system.lines.isEmpty() && system.LineTotal == 0, "a refused file keeps its lines");
        return 0;
    }
    check(system.LineTotal >= 1, "accepted a file announcing no line");
    check(system.lines.size() >= system.LineTotal,
          "accepted a file with fewer lines than announced");
    if (usb)
        for (const QByteArray &line : system.lines)
            check(line.size() <= ravelin::kLongestUsbLine,
                  "accepted a line longer than 64 characters");
    for (const QByteArray &line : system.lines)
        check(!line.contains('\n'), "a line kept its line end");
    upload(system, options);
    return 0;
}
