// The frame of a conversion benchmark: a full-memory database is converted in a child process
// (so its peak memory is the decoder's own), then the same output bytes are written again without
// decoding, in the pieces the decoder writes them, and the two times are compared.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ravelin::bench {

// One output file of the conversion: its extension, and whether it is written line by line
// (text) or record by record (a database).
struct OutputFile {
    const char *extension;
    bool text;
};

// Every file a conversion of a VIREL (or mixed) memory writes, and what a run leaves to clean up.
inline const std::vector<OutputFile> kEveryOutput = {
    {".log", true}, {".txt", true}, {".i2d", true}, {".sn", true},  {".ln", true},
    {".lat", true}, {".con", true}, {".sp", true},  {".smp", true}, {".tvd", false}};
inline const std::vector<const char *> kEveryFile = {
    ".raw", ".log", ".txt", ".i2d", ".sn", ".ln", ".lat", ".con", ".sp", ".smp", ".tvd", ".tmp"};

struct BenchDatabase {
    std::size_t size = 0;        // bytes of raw input
    std::size_t record_size = 0; // bytes of one record of the converted database
};

struct ConversionBench {
    const char *tool_name;                 // e.g. "ravelin-bench-decode"
    bool require_whole_input = false;      // fail when the decoder stopped before the end
    double target_mb_s = 30;               // throughput target of raw input
    bool baseline_in_large_blocks = false; // the baseline writes 1 MB blocks, not decoder pieces
    std::vector<OutputFile> outputs;       // the converted database last
    std::vector<const char *> cleanup;     // extensions of every bench.* and baseline.* file
    // Writes the database to the given path and prints the description line.
    std::function<BenchDatabase(const std::filesystem::path &raw)> write_database;
};

// The whole benchmark, command line included: "--child PATH" runs one conversion, otherwise
// "[--runs N] [--dir FOLDER]". Returns the process exit code.
int run_conversion_bench(const ConversionBench &bench, int argc, char **argv);

} // namespace ravelin::bench
