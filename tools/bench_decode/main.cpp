// ravelin-bench-decode: converts a full-memory KX-4 database (12.5 MB) and reports the raw
// input throughput, the peak resident memory of the conversion, and the conversion time against
// a baseline that merely writes the same output bytes.
//
//   ravelin-bench-decode [--runs N] [--dir FOLDER]
#include "conversion_bench.h"
#include "samples.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr double kMB = 1024.0 * 1024.0;
constexpr std::size_t kMemorySize = 12 * 1024 * 1024 + 512 * 1024; // the largest instrument memory
constexpr int kSamplesPerReading = 360; // six samples a second over a one-minute reading
constexpr int kSurveys = 10;
constexpr int kLinesPerSurvey = 3; // every third line header is empty

// A full memory: profiles of a few hundred readings, each with its raw samples.
ravelin::bench::BenchDatabase write_full_memory(const std::filesystem::path &raw) {
    const std::size_t reading_size = 62 + 4 * kSamplesPerReading;
    const int data_lines = kSurveys * (kLinesPerSurvey - 1);
    const int readings = static_cast<int>(kMemorySize * 99 / 100 / reading_size / data_lines);
    const auto bytes = ravelin::sample::build_kx4({.surveys = kSurveys,
                                                   .lines_per_survey = kLinesPerSurvey,
                                                   .readings_per_line = readings,
                                                   .samples_per_reading = kSamplesPerReading,
                                                   .empty_line_every = 3,
                                                   .memory_size = kMemorySize});
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::printf("decode benchmark: %.2f MB KX-4 database, %d surveys, %d readings of %d raw "
                "samples\n",
                bytes.size() / kMB, kSurveys, readings * data_lines, kSamplesPerReading);
    return {.size = bytes.size(), .record_size = reading_size};
}

} // namespace

int main(int argc, char **argv) {
    return ravelin::bench::run_conversion_bench(
        {.tool_name = "ravelin-bench-decode",
         .outputs = {{".log", true}, {".txt", true}, {".smp", true}, {".tvd", false}},
         .cleanup = {".raw", ".log", ".txt", ".smp", ".tvd", ".i2d", ".tmp"},
         .write_database = write_full_memory},
        argc, argv);
}
