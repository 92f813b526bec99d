#include "conversion_bench.h"

#include "convert.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string_view>
#include <utility>

namespace ravelin::bench {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kMB = 1024.0 * 1024.0;
// The decoder's own stdio buffer size: the baseline must not lose only by writing smaller pieces.
constexpr std::size_t kStreamBuffer = 1 << 17;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of this process: on a machine shared with other work it varies far less than the
// wall time, which counts the time other processes had the cores.
double cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The child: one conversion in a fresh process, so its peak memory is the decoder's own.
int run_child(const char *path) {
    const std::int16_t keep = 1;
    const auto start = Clock::now();
    const double cpu_start = cpu_seconds();
    const auto report = dumpdec::convert(path, &keep);
    std::printf("%.9f %.9f %d\n", seconds_since(start), cpu_seconds() - cpu_start,
                report.read_whole ? 1 : 0);
    return report.result == 1 ? 0 : 1;
}

struct ChildRun {
    double seconds = 0;
    double cpu = 0;
    long peak_rss_kb = 0;
    bool ok = false;
    bool read_whole = false;
};

ChildRun convert_in_child(const char *tool_name, const std::string &path) {
    ChildRun run;
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return run;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_fds[1], STDOUT_FILENO);
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        execl("/proc/self/exe", tool_name, "--child", path.c_str(), static_cast<char *>(nullptr));
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
    if (std::sscanf(output.c_str(), "%lf %lf %d", &run.seconds, &run.cpu, &whole) != 3)
        run.ok = false;
    run.read_whole = whole == 1;
    run.peak_rss_kb = usage.ru_maxrss;
    return run;
}

std::string slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the bytes in pieces the size the decoder writes them: text line by line (lines begin
// or end with a line feed), databases record by record, through a buffer as large as the
// decoder's.
void write_like_decoder(const fs::path &path, const std::string &bytes, bool text,
                        std::size_t record_size, bool large_blocks) {
    std::FILE *file = std::fopen(path.c_str(), "w+b");
    if (!file) return;
    // The C library takes the size only together with a buffer of our own.
    const auto buffer = std::make_unique<char[]>(kStreamBuffer);
    std::setvbuf(file, buffer.get(), _IOFBF, kStreamBuffer);
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end;
        if (large_blocks) {
            end = std::min(bytes.size(), at + (std::size_t{1} << 20));
        } else if (text) {
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

// Every run starts as a conversion of a new dump does: none of the files it writes exists yet, and
// no write-back of an earlier run's hundred megabytes is under way. Overwriting files still
// being written back makes the kernel wait for that disk I/O, and the write-back takes the
// cores: costs of running back to back, not of the conversion. The raw database stays.
void start_afresh(const fs::path &dir, const char *stem, const std::vector<const char *> &files) {
    for (const char *extension : files)
        if (std::string_view(extension) != ".raw")
            fs::remove(dir / (std::string(stem) + extension));
    sync();
}

} // namespace

int run_conversion_bench(const ConversionBench &bench, int argc, char **argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return run_child(argv[2]);
    int runs = 3;
    bool own_dir = true; // a folder given with --dir keeps everything but our files
    fs::path dir =
        fs::temp_directory_path() / (std::string(bench.tool_name) + "-" + std::to_string(getpid()));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--dir" && i + 1 < argc) {
            dir = argv[++i];
            own_dir = false;
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--dir FOLDER]\n", bench.tool_name);
            return 2;
        }
    }
    fs::create_directories(dir);
    const fs::path raw = dir / "bench.raw";
    const BenchDatabase database = bench.write_database(raw);

    double best = 1e30, best_cpu = 1e30;
    long peak_kb = 0;
    for (int i = 0; i < runs; ++i) {
        start_afresh(dir, "bench", bench.cleanup);
        const ChildRun run = convert_in_child(bench.tool_name, raw.string());
        if (!run.ok || (bench.require_whole_input && !run.read_whole)) {
            std::fprintf(stderr, "%s: the conversion failed%s\n", bench.tool_name,
                         bench.require_whole_input ? " or stopped early" : "");
            return 1;
        }
        best = std::min(best, run.seconds);
        best_cpu = std::min(best_cpu, run.cpu);
        peak_kb = std::max(peak_kb, run.peak_rss_kb);
    }

    // Baseline: the same output bytes, written in the same pieces, without decoding.
    std::vector<std::pair<std::string, OutputFile>> contents;
    std::size_t output_bytes = 0;
    for (const OutputFile &output : bench.outputs) {
        contents.emplace_back(slurp(dir / (std::string("bench") + output.extension)), output);
        output_bytes += contents.back().first.size();
    }
    output_bytes += contents.back().first.size(); // the intermediate database, written and read
    double baseline = 1e30, baseline_cpu = 1e30;
    for (int i = 0; i < runs; ++i) {
        start_afresh(dir, "baseline", bench.cleanup);
        const auto start = Clock::now();
        const double cpu_start = cpu_seconds();
        for (const auto &[bytes, output] : contents)
            write_like_decoder(dir / (std::string("baseline") + output.extension), bytes,
                               output.text, database.record_size, bench.baseline_in_large_blocks);
        write_like_decoder(dir / "baseline.tmp", contents.back().first, false, database.record_size,
                           bench.baseline_in_large_blocks);
        const std::string again = slurp(dir / "baseline.tmp");
        baseline = std::min(baseline, seconds_since(start));
        baseline_cpu = std::min(baseline_cpu, cpu_seconds() - cpu_start);
        if (again.size() != contents.back().first.size()) return 1;
    }

    const double throughput = database.size / kMB / best;
    const double peak_mb = peak_kb / 1024.0;
    const double ratio = best / baseline;
    std::printf("conversion:          %.3f s (best of %d), %.1f MB/s of raw input, peak RSS "
                "%.1f MB\n",
                best, runs, throughput, peak_mb);
    std::printf("write-only baseline: %.3f s for %.1f MB of output\n", baseline,
                output_bytes / kMB);
    std::printf("ratio:               %.2f x the baseline\n", ratio);
    const double cpu_throughput = database.size / kMB / best_cpu;
    std::printf("CPU time:            conversion %.3f s (%.1f MB/s), baseline %.3f s, ratio %.2f\n",
                best_cpu, cpu_throughput, baseline_cpu, best_cpu / baseline_cpu);
    std::printf("targets:             >= %.0f MB/s %s, peak RSS < 64 MB %s, ratio <= 4 %s\n",
                bench.target_mb_s, throughput >= bench.target_mb_s ? "met" : "MISSED",
                peak_mb < 64 ? "met" : "MISSED", ratio <= 4 ? "met" : "MISSED");
    for (const char *extension : bench.cleanup) {
        fs::remove(dir / (std::string("bench") + extension));
        fs::remove(dir / (std::string("baseline") + extension));
    }
    if (own_dir) fs::remove_all(dir);
    return 0;
}

} // namespace ravelin::bench
