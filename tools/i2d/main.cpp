// ravelin-i2d [--jobs N] FILE.tvd...: writes the pseudo-section file of each converted database
// through libi2dwriter, one line per file, and exits non-zero when any file fails.
#include "i2dwriter.h"
#include "output_name.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: ravelin-i2d [--jobs N] FILE.tvd...\n");
    return 2;
}

bool parse_jobs(std::string_view text, unsigned &jobs) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    jobs = static_cast<unsigned>(std::atoi(std::string(text).c_str()));
    return jobs > 0;
}

} // namespace

int main(int argc, char **argv) {
    unsigned jobs = 1;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--jobs") {
            if (i + 1 >= argc || !parse_jobs(argv[++i], jobs)) return usage();
        } else if (arg.starts_with("--jobs=")) {
            if (!parse_jobs(arg.substr(7), jobs)) return usage();
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                files.emplace_back(argv[i]);
        } else if (arg.starts_with("-")) {
            return usage();
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) return usage();

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
