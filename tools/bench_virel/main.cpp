// ravelin-bench-virel: converts a full-memory VIREL database (12.5 MB of IP profiles with M
// channels, soundings and bore holes) and reports the raw input throughput, the peak resident
// memory of the conversion, and the conversion time against a baseline that merely writes the
// same output bytes.
//
//   ravelin-bench-virel [--runs N] [--dir FOLDER]
#include "conversion_bench.h"
#include "samples.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr double kMB = 1024.0 * 1024.0;

ravelin::bench::BenchDatabase write_full_memory(const std::filesystem::path &raw) {
    const ravelin::sample::VirelShape shape = ravelin::sample::full_memory_virel_shape();
    const auto bytes = ravelin::sample::build_virel(shape);
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::printf("VIREL benchmark: %.2f MB database, %d surveys of %d profiles, %d readings "
                "with %d M channels per profile, soundings and bore holes\n",
                bytes.size() / kMB, shape.surveys, shape.profiles_per_survey,
                shape.stations * shape.levels, shape.window_count);
    return {.size = bytes.size(),
            .record_size = 52 + 4 * static_cast<std::size_t>(shape.window_count)};
}

} // namespace

int main(int argc, char **argv) {
    return ravelin::bench::run_conversion_bench({.tool_name = "ravelin-bench-virel",
                                                 .require_whole_input = true,
                                                 .outputs = ravelin::bench::kEveryOutput,
                                                 .cleanup = ravelin::bench::kEveryFile,
                                                 .write_database = write_full_memory},
                                                argc, argv);
}
