// The pseudo-section writer on arbitrary bytes as a converted database: it must finish with
// result 1, leave its input as it was, and write the same file whatever ran before it.
#include "fuzz_harness.h"
#include "i2dwriter.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace ravelin::fuzz;

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    std::vector<Bytes> seeds = database_seeds(ravelin::test::ByteOrder::kLittle);
    for (Bytes &damaged : damaged_database_seeds(ravelin::test::ByteOrder::kLittle))
        seeds.push_back(std::move(damaged));
    return seeds;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const fs::path tvd = scratch_dir() / "memory.tvd";
    write_file(tvd, data, size);
    check(i2dwriter_main(tvd.c_str(), nullptr) == 1, "the run on a readable file failed");
    check(fs::exists(scratch_dir() / "memory.i2d"), "no pseudo-section file");
    check(read_file(tvd) == Bytes(data, data + size), "the converted database changed");
    // Nothing of one run reaches the next: the same input again gives the same file.
    const Bytes first = read_file(scratch_dir() / "memory.i2d");
    check(i2dwriter_main(tvd.c_str(), nullptr) == 1, "the second run failed");
    check(read_file(scratch_dir() / "memory.i2d") == first, "a run depends on the one before it");
    return 0;
}
