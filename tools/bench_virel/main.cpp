// ravelin-bench-virel: converts a full-memory VIREL database (12.5 MB of IP profiles with M
// channels, soundings and bore holes) and reports the raw input throughput, the peak resident
// memory of the conversion, and the conversion time against a baseline that merely writes the
// same output bytes.
//
//   ravelin-bench-virel [--runs N] [--dir FOLDER]
#include "convert.h"
#include "samples.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kMB = 1024.0 * 1024.0;
constexpr std::size_t kMemorySize = 12 * 1024 * 1024 + 512 * 1024; // the largest instrument memory

// The shape of a full memory: ten surveys of thirty profiles (every array in turn), readings at
// six dipole numbers per station with six M channels, a sounding and a bore hole per survey, and
// as many stations as fill 99 % of the memory.
ravelin::sample::VirelShape full_memory_shape() {
    ravelin::sample::VirelShape shape;
    shape.surveys = 10;
    shape.profiles_per_survey = 30;
    shape.levels = 6;
    shape.window_count = 6;
    shape.stations = 1;
    const double one = static_cast<double>(ravelin::sample::build_virel(shape).size());
    shape.stations = 2;
    const double per_station =
        static_cast<double>(ravelin::sample::build_virel(shape).size()) - one;
    shape.stations = static_cast<int>((kMemorySize * 0.99 - one) / per_station) + 1;
    shape.memory_size = kMemorySize;
    return shape;
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The child: one conversion in a fresh process, so its peak memory is the decoder's own.
int run_child(const char *path) {
    const std::int16_t keep = 1;
    const auto start = Clock::now();
    const auto report = dumpdec::convert(path, &keep);
    std::printf("%.9f %d\n", seconds_since(start), report.read_whole ? 1 : 0);
    return report.result == 1 ? 0 : 1;
}

struct ChildRun {
    double seconds = 0;
    long peak_rss_kb = 0;
    bool ok = false;
    bool read_whole = false;
};

ChildRun convert_in_child(const std::string &path) {
    ChildRun run;
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return run;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_fds[1], STDOUT_FILENO);
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        execl("/proc/self/exe", "ravelin-bench-virel", "--child", path.c_str(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipe_fds[1]);
    std::string output;
    char buffer[128];
    for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipe_fds[0]);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    int whole = 0;
    if (std::sscanf(output.c_str(), "%lf %d", &run.seconds, &whole) != 2) run.ok = false;
    run.read_whole = whole == 1;
    run.peak_rss_kb = usage.ru_maxrss;
    return run;
}

std::string slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the bytes in pieces the size the decoder writes them: text line by line (lines begin
// or end with a line feed), databases record by record.
void write_like_decoder(const fs::path &path, const std::string &bytes, bool text,
                        std::size_t record_size) {
    std::FILE *file = std::fopen(path.c_str(), "w+b");
    if (!file) return;
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end;
        if (text) {
            end = bytes.find('\n', at + 1);
            end = end == std::string::npos ? bytes.size() : end + 1;
        } else {
            end = std::min(bytes.size(), at + record_size);
        }
        std::fwrite(bytes.data() + at, 1, end - at, file);
        at = end;
    }
    std::fclose(file);
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return run_child(argv[2]);
    int runs = 3;
    bool own_dir = true; // a folder given with --dir keeps everything but our files
    fs::path dir = fs::temp_directory_path() / ("ravelin-bench-virel-" + std::to_string(getpid()));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--dir" && i + 1 < argc) {
            dir = argv[++i];
            own_dir = false;
        } else {
            std::fprintf(stderr, "usage: ravelin-bench-virel [--runs N] [--dir FOLDER]\n");
            return 2;
        }
    }
    fs::create_directories(dir);
    const fs::path raw = dir / "bench.raw";

    const ravelin::sample::VirelShape shape = full_memory_shape();
    std::size_t input_size;
    {
        const auto bytes = ravelin::sample::build_virel(shape);
        input_size = bytes.size();
        std::ofstream(raw, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        std::printf("VIREL benchmark: %.2f MB database, %d surveys of %d profiles, %d readings "
                    "with %d M channels per profile, soundings and bore holes\n",
                    input_size / kMB, shape.surveys, shape.profiles_per_survey,
                    shape.stations * shape.levels, shape.window_count);
    }

    double best = 1e30;
    long peak_kb = 0;
    for (int i = 0; i < runs; ++i) {
        const ChildRun run = convert_in_child(raw.string());
        if (!run.ok || !run.read_whole) {
            std::fprintf(stderr, "ravelin-bench-virel: the conversion failed or stopped early\n");
            return 1;
        }
        best = std::min(best, run.seconds);
        peak_kb = std::max(peak_kb, run.peak_rss_kb);
    }

    // Baseline: the same output bytes, written in the same pieces, without decoding.
    struct Output {
        const char *extension;
        bool text;
    };
    const Output outputs[] = {{".log", true}, {".txt", true}, {".i2d", true}, {".sn", true},
                              {".ln", true},  {".lat", true}, {".con", true}, {".sp", true},
                              {".smp", true}, {".tvd", false}};
    const std::size_t record_size = 52 + 4 * static_cast<std::size_t>(shape.window_count);
    std::vector<std::pair<std::string, Output>> contents;
    std::size_t output_bytes = 0;
    for (const Output &output : outputs) {
        contents.emplace_back(slurp(dir / (std::string("bench") + output.extension)), output);
        output_bytes += contents.back().first.size();
    }
    output_bytes += contents.back().first.size(); // the intermediate database, written and read
    double baseline = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        for (const auto &[bytes, output] : contents)
            write_like_decoder(dir / (std::string("baseline") + output.extension), bytes,
                               output.text, record_size);
        write_like_decoder(dir / "baseline.tmp", contents.back().first, false, record_size);
        const std::string again = slurp(dir / "baseline.tmp");
        baseline = std::min(baseline, seconds_since(start));
        if (again.size() != contents.back().first.size()) return 1;
    }

    const double throughput = input_size / kMB / best;
    const double peak_mb = peak_kb / 1024.0;
    const double ratio = best / baseline;
    std::printf("conversion:          %.3f s (best of %d), %.1f MB/s of raw input, peak RSS "
                "%.1f MB\n",
                best, runs, throughput, peak_mb);
    std::printf("write-only baseline: %.3f s for %.1f MB of output\n", baseline,
                output_bytes / kMB);
    std::printf("ratio:               %.2f x the baseline\n", ratio);
    std::printf("targets:             >= 30 MB/s %s, peak RSS < 64 MB %s, ratio <= 4 %s\n",
                throughput >= 30 ? "met" : "MISSED", peak_mb < 64 ? "met" : "MISSED",
                ratio <= 4 ? "met" : "MISSED");
    for (const char *extension : {".raw", ".log", ".txt", ".i2d", ".sn", ".ln", ".lat", ".con",
                                  ".sp", ".smp", ".tvd", ".tmp"}) {
        fs::remove(dir / (std::string("bench") + extension));
        fs::remove(dir / (std::string("baseline") + extension));
    }
    if (own_dir) fs::remove_all(dir);
    return 0;
}
