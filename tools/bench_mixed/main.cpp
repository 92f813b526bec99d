// ravelin-bench-mixed: converts a 12-13 MB memory that mixes every record family as field memory
// does (about 51 000 KX-4 readings, a third of them with raw samples; 43 000 standard and 38 000
// user IP readings on VIREL profiles and soundings; 46 000 bore hole readings), and reports the
// raw input throughput against a baseline that writes the same output bytes in large blocks.
//
//   ravelin-bench-mixed [--runs N] [--dir FOLDER]
#include "conversion_bench.h"
#include "samples.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr double kMB = 1024.0 * 1024.0;

ravelin::bench::BenchDatabase write_mixed_memory(const std::filesystem::path &raw) {
    const std::vector<std::uint8_t> memory = ravelin::sample::build_mixed();
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char *>(memory.data()),
               static_cast<std::streamsize>(memory.size()));
    std::printf("mixed benchmark: %.2f MB database of KX-4 readings (some with raw samples), "
                "VIREL profiles, soundings and bore holes\n",
                memory.size() / kMB);
    return {.size = memory.size(), .record_size = 0};
}

} // namespace

int main(int argc, char **argv) {
    return ravelin::bench::run_conversion_bench({.tool_name = "ravelin-bench-mixed",
                                                 .require_whole_input = true,
                                                 .target_mb_s = 60,
                                                 .baseline_in_large_blocks = true,
                                                 .outputs = ravelin::bench::kEveryOutput,
                                                 .cleanup = ravelin::bench::kEveryFile,
                                                 .write_database = write_mixed_memory},
                                                argc, argv);
}
