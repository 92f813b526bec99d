// ravelin-bench-export: exports every format from full 12.5 MB memories, a VIREL one (profiles
// of every array with M channels) and a KX-4 one (readings without raw samples, the most
// readings a memory holds), and reports the time of reading each database and of writing each
// format, files synced to the disk included.
//
//   ravelin-bench-export [--runs N] [--dir FOLDER] [--keep]
//
// --keep leaves the written files in place, to compare the exports of two builds byte for byte.
#include "best_time.h"
#include "convert.h"
#include "export_files.h"
#include "reading_errors.h"
#include "samples.h"
#include "survey_reader.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
constexpr double kTargetSeconds = 1.0;

// Writes the raw database and converts it; returns the converted database's path.
std::string converted(const fs::path &dir, const char *name, const std::vector<std::uint8_t> &raw) {
    const fs::path raw_path = dir / (std::string(name) + ".raw");
    std::ofstream(raw_path, std::ios::binary)
        .write(reinterpret_cast<const char *>(raw.data()),
               static_cast<std::streamsize>(raw.size()));
    const std::int16_t keep = 0;
    if (dumpdec::convert(raw_path.string(), &keep).result != 1) return "";
    return (dir / (std::string(name) + ".tvd")).string();
}

struct Job {
    exports::Format format;
    std::vector<std::string> databases;
};

} // namespace

int main(int argc, char **argv) {
    int runs = 3;
    bool keep = false;
    fs::path dir = fs::temp_directory_path() / ("ravelin-bench-export-" + std::to_string(getpid()));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--dir" && i + 1 < argc) {
            dir = fs::path(argv[++i]) / "ravelin-bench-export";
        } else if (arg == "--keep") {
            keep = true;
        } else {
            std::fprintf(stderr,
                         "usage: ravelin-bench-export [--runs N] [--dir FOLDER] [--keep]\n");
            return 2;
        }
    }
    fs::create_directories(dir);

    const std::string virel = converted(
        dir, "virel", ravelin::sample::build_virel(ravelin::sample::full_memory_virel_shape()));
    const std::string kx4 =
        converted(dir, "kx4",
                  ravelin::sample::build_kx4({.surveys = 10,
                                              .lines_per_survey = 20,
                                              .readings_per_line = 1000,
                                              .samples_per_reading = 0,
                                              .empty_line_every = 0,
                                              .memory_size = ravelin::sample::kFullMemorySize}));
    if (virel.empty() || kx4.empty()) {
        std::fprintf(stderr, "ravelin-bench-export: the sample memories did not convert\n");
        fs::remove_all(dir);
        return 1;
    }
    // The exports sync the file system once: the conversions' untimed writes go to the disk
    // now, not in the first timed export.
    sync();
    std::printf("export benchmark: full VIREL memory (%.1f MB converted) and full KX-4 memory "
                "(%.1f MB converted), best of %d runs\n",
                fs::file_size(virel) / 1048576.0, fs::file_size(kx4) / 1048576.0, runs);

    // Each database is read once, as the window does; the command-line tool reads it again for
    // each format, so its time per format adds one reading.
    double total = 0;
    bool failed = false;
    double total_cpu = 0;
    double cpu = 0; // of the last timing
    auto best_of = [&](auto &&work) {
        const bench::BestTime best = bench::best_of(runs, work);
        cpu = best.cpu;
        total_cpu += cpu;
        return best.seconds;
    };
    survey::LoadResult loaded_virel, loaded_kx4;
    const double read_virel = best_of([&] { loaded_virel = survey::load_database(virel); });
    std::printf("  read VIREL database                  %7.3f s  (processor %.3f s)\n", read_virel,
                cpu);
    const double read_kx4 = best_of([&] { loaded_kx4 = survey::load_database(kx4); });
    std::printf("  read KX-4 database                   %7.3f s  (processor %.3f s)\n", read_kx4,
                cpu);
    total += read_virel + read_kx4;

    // Quality control of the VIREL memory's profiles: pairs, error models and every reading's
    // error. Timed apart from the exports and left out of their total.
    {
        const double cpu_before = total_cpu;
        std::size_t readings = 0, pairs = 0;
        const double seconds = best_of([&] {
            const qc::DatabaseQc checked = qc::check_database(loaded_virel.database, {});
            readings = pairs = 0;
            for (const qc::ProfileQc &profile : checked.profiles) {
                readings += profile.errors.size();
                pairs += profile.pairs.size();
            }
        });
        total_cpu = cpu_before;
        std::printf("  QC of %zu VIREL profile readings (%zu pairs) %7.3f s  (processor %.3f s; "
                    "target below 1 s: %s)\n",
                    readings, pairs, seconds, cpu, seconds < 1.0 ? "met" : "MISSED");
    }

    const Job jobs[] = {{exports::Format::Res2dinv, {virel}},
                        {exports::Format::Ohm, {virel}},
                        {exports::Format::GravityCsv, {kx4}},
                        {exports::Format::Csv, {virel, kx4}}};
    // Every run writes into a folder of its own, as a first export does: replacing the files of
    // the run before would time the file system's handling of just-deleted files instead.
    int folder = 0;
    for (const Job &job : jobs) {
        std::size_t files = 0;
        const double seconds = best_of([&] {
            files = 0;
            const fs::path run_dir = dir / ("run-" + std::to_string(++folder));
            fs::create_directories(run_dir);
            for (const std::string &database : job.databases) {
                exports::ExportOptions options;
                options.format = job.format;
                const exports::ExportOutcome outcome = exports::export_loaded(
                    database == virel ? loaded_virel : loaded_kx4,
                    (run_dir / fs::path(database).filename()).string(), options);
                failed = failed || !outcome.ok();
                files += outcome.written.size();
            }
        });
        total += seconds;
        std::printf("  write %-12s %4zu files       %7.3f s  (processor %.3f s)\n",
                    std::string(exports::format_name(job.format)).c_str(), files, seconds, cpu);
    }
    std::printf("  every format, each database read once: %.3f s, processor %.3f s (target below "
                "%.1f s: %s)\n",
                total, total_cpu, kTargetSeconds, total < kTargetSeconds ? "met" : "MISSED");
    if (!keep) {
        fs::remove_all(dir);
        // ext4 without a journal skips freed inodes for a minute, six while their inode table
        // is not on the disk: creating files right after this run would pay for its 1 200
        // deletions. Written now, they cost the next benchmark one minute at most.
        sync();
    }
    if (failed) std::fprintf(stderr, "ravelin-bench-export: an export failed\n");
    return failed ? 1 : 0;
}
