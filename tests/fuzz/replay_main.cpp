// The regression form of a fuzz harness: replays the generated seeds and every input kept under
// crashes/<harness>/ (RAVELIN_CRASH_DIR). `--write-seeds DIR` writes the seed corpus for a
// fuzzing run instead; further arguments are inputs to replay.
#include "fuzz_harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using ravelin::fuzz::Bytes;

namespace {

void replay(const Bytes &input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

int write_seeds(const fs::path &dir) {
    fs::create_directories(dir);
    int index = 0;
    for (const Bytes &seed : ravelin::fuzz::harness_seeds()) {
        char name[32];
        std::snprintf(name, sizeof name, "seed-%03d", index++);
        ravelin::fuzz::write_file(dir / name, seed.data(), seed.size());
    }
    std::printf("%d seeds written to %s\n", index, dir.c_str());
    return 0;
}

// Crash inputs, without the .txt notes that describe them. A harness with no findings yet has no
// folder of its own; the folder of all findings is always there.
std::vector<fs::path> kept_inputs(const fs::path &dir) {
    std::vector<fs::path> inputs;
    if (!fs::is_directory(dir)) return inputs;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() != ".txt")
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return write_seeds(argv[2]);
    LLVMFuzzerInitialize(&argc, &argv);

    int seeds = 0;
    for (const Bytes &seed : ravelin::fuzz::harness_seeds()) {
        replay(seed);
        ++seeds;
    }
    const fs::path crashes = fs::path(RAVELIN_CRASH_DIR).parent_path();
    if (!fs::is_directory(crashes)) {
        std::fprintf(stderr, "the kept findings folder %s is missing\n", crashes.c_str());
        return 1;
    }
    std::vector<fs::path> inputs = kept_inputs(RAVELIN_CRASH_DIR);
    for (int i = 1; i < argc; ++i)
        inputs.emplace_back(argv[i]);
    for (const fs::path &input : inputs) {
        std::printf("replaying %s\n", input.c_str());
        replay(ravelin::fuzz::read_file(input));
    }
    std::printf("%d seeds and %zu kept inputs replayed\n", seeds, inputs.size());
    return 0;
}
