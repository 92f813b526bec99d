// ravelin-convert [--keep] [--jobs N] FILE.raw...: converts a season's dumps in one go, through
// the same code as dumpdec_main, several at a time with --jobs.
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
#include <thread>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: ravelin-convert [--keep] [--jobs N] FILE.raw...\n"
                         "  --keep    keep the listing (.log) and the raw database\n"
                         "  --jobs N  convert N files at a time (default 1)\n");
    return 2;
}

struct Options {
    bool keep = false;
    unsigned jobs = 1;
    std::vector<std::string> files;
};

bool parse(int argc, char **argv, Options &options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--jobs" || arg.starts_with("--jobs=")) {
            std::string value = arg == "--jobs" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(7);
            unsigned jobs = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), jobs);
            if (error != std::errc() || end != value.data() + value.size() || jobs == 0)
                return false;
            options.jobs = jobs;
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                options.files.emplace_back(argv[i]);
        } else if (arg.starts_with("-")) {
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    return !options.files.empty();
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parse(argc, argv, options)) return usage();

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
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(worker);

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
