// ravelin-instrument: plays a KX-4 or VIREL on a serial line so that dumps and uploads can be
// tried, and tested, without an instrument. Exit codes: 0 the protocol completed, 1 a usage or
// file or system error, 2 the time limit passed without progress, 3 the protocol went wrong (the PC
// closed the line, a repeated line differed, a line was cut off).
#include "dump_session.h"
#include "instrument_options.h"
#include "serial_line.h"
#include "upload_session.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

using namespace instrument;

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitTimeLimit = 2;
constexpr int kExitProtocol = 3;

SerialLine openLine(const Options &options) {
    if (options.device) {
        const int defaultBaud = options.role == Options::Role::Dump ? 19200 : 57600;
        return SerialLine::openDevice(*options.device, options.baud.value_or(defaultBaud));
    }
    return SerialLine::openPseudoTerminal();
}

void announce(const SerialLine &line) {
    std::printf("%s\n", line.devicePath().c_str());
    std::fflush(stdout);
}

int runDump(const Options &options) {
    std::ifstream in(options.file, std::ios::binary);
    if (!in) {
        std::cerr << "ravelin-instrument: cannot read " << options.file << "\n";
        return kExitUsage;
    }
    std::vector<uint8_t> image{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    SerialLine line = openLine(options);
    line.setPatience(std::chrono::seconds(options.timeLimitSeconds));
    announce(line);
    DumpSession session(line, options, std::move(image));
    const DumpReport report = session.run();
    line.awaitHangUp(milliseconds(options.lingerMs));
    std::cerr << "ravelin-instrument: dump finished, " << report.blocks << " blocks, "
              << report.corruptedBlocks << " corrupted, " << report.blocksSentAgain
              << " sent again\n";
    return 0;
}

int runUpload(const Options &options) {
    std::ofstream out(options.file, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "ravelin-instrument: cannot write " << options.file << "\n";
        return kExitUsage;
    }
    SerialLine line = openLine(options);
    line.setPatience(std::chrono::seconds(options.timeLimitSeconds));
    announce(line);
    UploadSession session(line, options, out);
    const UploadReport report = session.run();
    line.awaitHangUp(milliseconds(options.lingerMs));
    std::cerr << "ravelin-instrument: upload finished, " << report.lines << " lines, "
              << report.repeatsAsked << " asked again, " << report.repeatsDiffering
              << " differing\n";
    return report.repeatsDiffering == 0 ? 0 : kExitProtocol;
}

} // namespace

int main(int argc, char **argv) {
    std::signal(SIGPIPE, SIG_IGN);
    Options options;
    if (const std::optional<int> status = parseOptions(argc, argv, options, kExitUsage))
        return *status;
    try {
        return options.role == Options::Role::Dump ? runDump(options) : runUpload(options);
    } catch (const TimeLimitReached &e) {
        std::cerr << "ravelin-instrument: " << e.what() << "\n";
        return kExitTimeLimit;
    } catch (const SystemError &e) {
        std::cerr << "ravelin-instrument: " << e.what() << "\n";
        return kExitUsage;
    } catch (const LineClosed &e) {
        std::cerr << "ravelin-instrument: " << e.what() << "\n";
        return kExitProtocol;
    } catch (const std::runtime_error &e) {
        std::cerr << "ravelin-instrument: " << e.what() << "\n";
        return kExitProtocol;
    }
}
