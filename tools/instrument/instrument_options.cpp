#include "instrument_options.h"

#include <charconv>
#include <cstring>

namespace instrument {

const char *const kUsage =
    "usage: ravelin-instrument [OPTIONS] dump IMAGE\n"
    "       ravelin-instrument [OPTIONS] upload OUT_FILE\n"
    "Plays an instrument on a new pseudo-terminal (its path is the first line printed) or on\n"
    "--device PATH.\n"
    "  --device PATH        use this serial device instead of a pseudo-terminal\n"
    "  --baud N             speed of --device (default 19200 for dump, 57600 for upload)\n"
    "  --time-limit S       give up after S seconds without progress (default 300; exit 2)\n"
    "  --linger-ms MS       after the protocol, wait this long for the PC to close (2000)\n"
    "dump faults:\n"
    "  --corrupt-every N    corrupt every Nth block the first time it is sent\n"
    "  --corrupt-chance P   corrupt a block's first sending with P percent chance\n"
    "  --silence-ms MS      pause MS ms in the middle of a block (first sending only)\n"
    "  --silence-every K    ... in every Kth block instead of only the first block\n"
    "  --stray HEX          send these bytes before the header (hex pairs, e.g. 41FF0D)\n"
    "  --empty              the memory is empty: the header announces 0\n"
    "  --header TEXT        send these 10 characters as the length header\n"
    "upload:\n"
    "  --repeat-every N     ask for every Nth line again (0x0F)\n"
    "  --repeat-chance P    ask for a line again with P percent chance\n"
    "  --lines N            stop after N lines (default: when the PC goes quiet or closes)\n"
    "  --idle-ms MS         silence that ends an upload without --lines (default 3000)\n"
    "  --seed N             seed of the random faults (default 1)\n";

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

std::optional<Options> parseOptions(int argc, char **argv, std::string &error) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--empty") {
            o.empty = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const char *value = argv[++i];
        int number = 0;
        auto intOption = [&](int minimum, int &field) {
            if (!parseInt(value, minimum, number)) return false;
            field = number;
            return true;
        };
        bool ok = true;
        if (arg == "--device")
            o.device = value;
        else if (arg == "--baud") {
            ok = intOption(1, number);
            o.baud = number;
        } else if (arg == "--time-limit")
            ok = intOption(1, o.timeLimitSeconds);
        else if (arg == "--linger-ms")
            ok = intOption(0, o.lingerMs);
        else if (arg == "--corrupt-every")
            ok = intOption(1, o.corruptEvery);
        else if (arg == "--corrupt-chance")
            ok = intOption(0, o.corruptChance) && o.corruptChance <= 100;
        else if (arg == "--silence-ms")
            ok = intOption(0, o.silenceMs);
        else if (arg == "--silence-every")
            ok = intOption(1, o.silenceEvery);
        else if (arg == "--stray")
            ok = parseHex(value, o.stray);
        else if (arg == "--header") {
            o.header = value;
            ok = o.header->size() == 10;
        } else if (arg == "--repeat-every")
            ok = intOption(1, o.repeatEvery);
        else if (arg == "--repeat-chance")
            ok = intOption(0, o.repeatChance) && o.repeatChance <= 100;
        else if (arg == "--lines")
            ok = intOption(1, o.expectedLines);
        else if (arg == "--idle-ms")
            ok = intOption(1, o.idleMs);
        else if (arg == "--seed") {
            ok = intOption(0, number);
            o.seed = static_cast<uint32_t>(number);
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + arg + ": " + value;
            return std::nullopt;
        }
    }
    if (positional.size() != 2 || (positional[0] != "dump" && positional[0] != "upload")) {
        error = "expected: dump IMAGE or upload OUT_FILE";
        return std::nullopt;
    }
    o.role = positional[0] == "dump" ? Options::Role::Dump : Options::Role::Upload;
    o.file = positional[1];
    if (o.empty && o.header) {
        error = "--empty and --header exclude each other";
        return std::nullopt;
    }
    return o;
}

} // namespace instrument
