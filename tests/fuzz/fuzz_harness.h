// What every fuzz harness provides and shares. Under libFuzzer the harness is linked with the
// fuzzer's own main; in the regression build with replay_main.cpp, which runs the seeds and every
// input kept under crashes/<harness>/.
#pragma once

#include "seeds.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace ravelin::fuzz {

// The harness's seed corpus, built in code.
std::vector<Bytes> harness_seeds();

// A private folder for the files one input needs; removed when the process ends.
const std::filesystem::path &scratch_dir();

void write_file(const std::filesystem::path &path, const std::uint8_t *data, std::size_t size);
Bytes read_file(const std::filesystem::path &path);

// A broken invariant is a finding: report it and abort, so the fuzzer keeps the input.
[[noreturn]] void fail(const std::string &what);
inline void check(bool condition, const char *what) {
    if (!condition) fail(what);
}

} // namespace ravelin::fuzz
