// ravelin-convert [--keep] [--jobs N] FILE.raw...: converts a season's dumps in one go, through
// the same code as dumpdec_main, several at a time with --jobs.
#include "command_line.h"
#include "conversion_line.h"
#include "convert.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

struct Options {
    bool keep = false;
    unsigned jobs = 1;
    std::vector<std::string> files;
};

// Returns the exit status when the tool ends before converting anything.
std::optional<int> parse(int argc, char **argv, Options &options) {
    ravelin::CommandLine line("ravelin-convert",
                              "Converts raw databases into the files written beside each, one "
                              "line per file in the order given.",
                              2);
    line.addOption("keep", "", "Keep the listing (.log) and the raw database.");
    line.addOption("jobs", "N", "Convert N files at a time (default 1).");
    line.addArgument("FILE.raw...", "The raw databases to convert.");
    if (const std::optional<int> status = line.parse(argc, argv)) return status;
    options.keep = line.isSet("keep");
    if (line.isSet("jobs")) {
        const std::string value = line.value("jobs");
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), options.jobs);
        if (error != std::errc() || end != value.data() + value.size() || options.jobs == 0)
            return line.fail("--jobs needs a whole number of at least 1");
    }
    options.files = line.arguments();
    if (options.files.empty()) return line.fail("no raw database named");
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (const std::optional<int> status = parse(argc, argv, options)) return *status;

    const std::size_t count = options.files.size();
    std::vector<std::optional<std::string>> lines(count);
    std::vector<int> status(count, ravelin::convert_tool::kAllConverted);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};

    auto worker = [&] {
        const std::int16_t keep = options.keep ? 1 : 0;
        for (std::size_t i; (i = next++) < count;) {
            dumpdec::ConversionReport report;
            try {
                report = dumpdec::convert(options.files[i], &keep);
            } catch (const std::exception &error) {
                report.result = 0;
                report.failure = error.what();
            }
            std::string line = ravelin::convert_tool::conversion_line(options.files[i], report);
            std::lock_guard lock(mutex);
            status[i] = ravelin::convert_tool::file_status(report);
            lines[i] = std::move(line);
            done.notify_all();
        }
    };
    const unsigned threads = std::min<std::size_t>(options.jobs, count);
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 0; t < threads; ++t)
            pool.emplace_back(worker);
    } catch (const std::system_error &) {
        // Where no thread can start (WebAssembly), the files are converted here, one at a time.
        if (pool.empty()) worker();
    }

    // Lines come out in the order the files were named, each as soon as it is known.
    int exit_status = ravelin::convert_tool::kAllConverted;
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return lines[i].has_value(); });
        std::printf("%s\n", lines[i]->c_str());
        std::fflush(stdout);
        exit_status = ravelin::convert_tool::run_status(exit_status, status[i]);
    }
    for (std::thread &thread : pool)
        thread.join();
    return exit_status;
}
