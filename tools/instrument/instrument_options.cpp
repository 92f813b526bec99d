#include "instrument_options.h"

#include "command_line.h"

#include <charconv>
#include <climits>
#include <cstring>

namespace instrument {

using ravelin::CommandLine;

namespace {

bool parseInt(const char *text, int minimum, int &out) {
    const char *end = text + std::strlen(text);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc() || ptr != end || value < minimum) return false;
    out = value;
    return true;
}

bool parseHex(const std::string &text, std::vector<uint8_t> &out) {
    if (text.empty() || text.size() % 2 != 0) return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (ec != std::errc() || ptr != text.data() + i + 2) return false;
        out.push_back(static_cast<uint8_t>(value));
    }
    return true;
}

} // namespace

std::optional<int> parseOptions(int argc, char **argv, Options &o, int usageStatus) {
    CommandLine line("ravelin-instrument",
                     "Plays a KX-4 or VIREL on a new pseudo-terminal (its path is the first line "
                     "printed) or on --device PATH.",
                     usageStatus);
    line.addArgument("dump|upload", "dump: send FILE as the memory; upload: receive into FILE.");
    line.addArgument("FILE", "The memory image (dump) or where received lines go (upload).");
    line.addOption("device", "PATH", "Use this serial device instead of a pseudo-terminal.");
    line.addOption("baud", "N", "Speed of --device (default 19200 for dump, 57600 for upload).");
    line.addOption("time-limit", "S",
                   "Give up after S seconds without progress (default 300; exit 2).");
    line.addOption("linger-ms", "MS",
                   "After the protocol, wait this long for the PC to close (2000).");
    line.addSection("Dump faults");
    line.addOption("corrupt-every", "N", "Corrupt every Nth block the first time it is sent.");
    line.addOption("corrupt-chance", "P", "Corrupt a block's first sending with P percent chance.");
    line.addOption("silence-ms", "MS",
                   "Pause MS ms in the middle of a block (first sending only).");
    line.addOption("silence-every", "K", "... in every Kth block instead of only the first block.");
    line.addOption("stray", "HEX", "Send these bytes before the header (hex pairs, e.g. 41FF0D).");
    line.addOption("empty", "", "The memory is empty: the header announces 0.");
    line.addOption("header", "TEXT", "Send these 10 characters as the length header.");
    line.addOption("start-delay-ms", "MS",
                   "Start the dump MS ms after the PC's first byte, answering in turn every "
                   "byte the PC sent meanwhile.");
    line.addOption("stall-after-block", "K",
                   "Stall once after block K (0: the header), reading nothing meanwhile.");
    line.addOption("stall-ms", "MS", "How long the stall lasts (default 8000).");
    line.addOption("stall-mode", "MODE",
                   "between: before reading the PC's answer to block K; drop or finish: half way "
                   "through the next block, which is then dropped or finished (default finish).");
    line.addSection("Upload faults");
    line.addOption("repeat-every", "N", "Ask for every Nth line again (0x0F).");
    line.addOption("repeat-chance", "P", "Ask for a line again with P percent chance.");
    line.addOption("lines", "N", "Stop after N lines (default: when the PC goes quiet or closes).");
    line.addOption("idle-ms", "MS", "Silence that ends an upload without --lines (default 3000).");
    line.addOption("seed", "N", "Seed of the random faults (default 1).");
    if (const std::optional<int> status = line.parse(argc, argv)) return status;

    // The first bad value is the one reported.
    std::string bad;
    auto reject = [&](const char *name) {
        if (bad.empty()) bad = "bad value for --" + std::string(name) + ": " + line.value(name);
    };
    auto number = [&](const char *name, int minimum, int &field, int maximum = INT_MAX) {
        int value = 0;
        if (!line.isSet(name)) return;
        if (parseInt(line.value(name).c_str(), minimum, value) && value <= maximum)
            field = value;
        else
            reject(name);
    };
    if (line.isSet("device")) o.device = line.value("device");
    int baud = 0;
    number("baud", 1, baud);
    if (baud != 0) o.baud = baud;
    number("time-limit", 1, o.timeLimitSeconds);
    number("linger-ms", 0, o.lingerMs);
    number("corrupt-every", 1, o.corruptEvery);
    number("corrupt-chance", 0, o.corruptChance, 100);
    number("silence-ms", 0, o.silenceMs);
    number("silence-every", 1, o.silenceEvery);
    if (line.isSet("stray") && !parseHex(line.value("stray"), o.stray)) reject("stray");
    o.empty = line.isSet("empty");
    number("start-delay-ms", 0, o.startDelayMs);
    number("stall-after-block", 0, o.stallAfterBlock);
    if (o.stallAfterBlock >= 0) o.stallMs = 8000;
    number("stall-ms", 0, o.stallMs);
    if (line.isSet("stall-mode")) {
        const std::string mode = line.value("stall-mode");
        if (mode == "between")
            o.stallMode = Options::StallMode::Between;
        else if (mode == "drop")
            o.stallMode = Options::StallMode::Drop;
        else if (mode == "finish")
            o.stallMode = Options::StallMode::Finish;
        else
            reject("stall-mode");
    }
    if (line.isSet("header")) {
        o.header = line.value("header");
        if (o.header->size() != 10) reject("header");
    }
    number("repeat-every", 1, o.repeatEvery);
    number("repeat-chance", 0, o.repeatChance, 100);
    number("lines", 1, o.expectedLines);
    number("idle-ms", 1, o.idleMs);
    int seed = static_cast<int>(o.seed);
    number("seed", 0, seed);
    o.seed = static_cast<uint32_t>(seed);
    if (!bad.empty()) return line.fail(bad);

    const std::vector<std::string> &positional = line.arguments();
    if (positional.size() != 2 || (positional[0] != "dump" && positional[0] != "upload"))
        return line.fail("expected: dump IMAGE or upload OUT_FILE");
    o.role = positional[0] == "dump" ? Options::Role::Dump : Options::Role::Upload;
    o.file = positional[1];
    if (o.empty && o.header) return line.fail("--empty and --header exclude each other");
    return std::nullopt;
}

} // namespace instrument
