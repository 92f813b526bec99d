// The decoder's entry on arbitrary bytes as a raw database. Whatever the bytes, the conversion
// must finish with result 1 (every file can be opened here), leave the raw database as it was,
// delete its intermediate file and write a converted database no longer than its input plus the
// completion of one record cut short by the end of the file; and the same files whatever was
// converted before it in the process.
#include "dumpdec.h"
#include "fuzz_harness.h"

#include <filesystem>
#include <map>
#include <string>
#include <system_error>

namespace fs = std::filesystem;
using namespace ravelin::fuzz;

namespace {

void remove_outputs(const fs::path &dir) {
    std::error_code ignored;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir, ignored))
        fs::remove(entry.path(), ignored);
}

// Every file the conversion left, by name.
std::map<std::string, Bytes> outputs_in(const fs::path &dir) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = read_file(entry.path());
    return files;
}

} // namespace

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    return database_seeds(ravelin::test::ByteOrder::kBig);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const fs::path &dir = scratch_dir();
    remove_outputs(dir);
    const fs::path raw = dir / "memory.raw";
    write_file(raw, data, size);

    std::int16_t keep = 1;
    check(dumpdec_main(raw.c_str(), &keep) == 1, "the conversion of a readable file failed");

    std::error_code error;
    check(fs::file_size(raw, error) == size && !error, "the raw database changed");
    check(read_file(raw) == Bytes(data, data + size), "the raw database changed");
    check(!fs::exists(dir / "memory.tmp"), "the intermediate database was left behind");
    check(fs::exists(dir / "memory.tvd"), "no converted database");
    // The converted database holds records of the input, some perhaps dropped; only the last one
    // may have been completed with erased bytes.
    check(fs::file_size(dir / "memory.tvd") < size + 65536,
          "the converted database outgrew its input");

    // Nothing of one conversion reaches the next: the same input converted again, right after
    // itself instead of after the fuzzer's previous input, gives the same files.
    const std::map<std::string, Bytes> first = outputs_in(dir);
    remove_outputs(dir);
    write_file(raw, data, size);
    check(dumpdec_main(raw.c_str(), &keep) == 1, "the second conversion failed");
    check(outputs_in(dir) == first, "a conversion depends on the one before it");
    return 0;
}
