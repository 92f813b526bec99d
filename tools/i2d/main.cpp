// ravelin-i2d [--jobs N] FILE.tvd...: writes the pseudo-section file of each converted database
// through libi2dwriter, one line per file, and exits non-zero when any file fails.
#include "command_line.h"
#include "i2dwriter.h"
#include "output_name.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

bool parse_jobs(std::string_view text, unsigned &jobs) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    jobs = static_cast<unsigned>(std::atoi(std::string(text).c_str()));
    return jobs > 0;
}

} // namespace

int main(int argc, char **argv) {
    ravelin::CommandLine line("ravelin-i2d",
                              "Writes the pseudo-section file (.i2d) of each converted database, "
                              "one line per file.",
                              2);
    line.addOption("jobs", "N", "Write N files at a time (default 1).");
    line.addArgument("FILE.tvd...", "The converted databases.");
    if (const std::optional<int> status = line.parse(argc, argv)) return *status;
    unsigned jobs = 1;
    if (line.isSet("jobs") && !parse_jobs(line.value("jobs"), jobs))
        return line.fail("--jobs needs a whole number from 1 to 9999");
    const std::vector<std::string> &files = line.arguments();
    if (files.empty()) return line.fail("no converted database named");

    std::vector<int> results(files.size(), 0);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++)
            results[i] = i2dwriter_main(files[i].c_str(), nullptr);
    };
    std::vector<std::thread> workers;
    for (unsigned w = 1; w < std::min<std::size_t>(jobs, files.size()); ++w)
        workers.emplace_back(work);
    work();
    for (auto &t : workers)
        t.join();

    int failures = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string output = ravelin::output_name(files[i], ".i2d");
        if (results[i] != 0) {
            std::printf("%s: converted -> %s\n", files[i].c_str(), output.c_str());
            continue;
        }
        ++failures;
        if (output == files[i])
            std::printf("%s: FAILED: its pseudo-section file would overwrite it\n",
                        files[i].c_str());
        else
            std::printf("%s: FAILED: cannot read it, or cannot write %s\n", files[i].c_str(),
                        output.c_str());
    }
    return failures == 0 ? 0 : 1;
}
