// The decoder's entry on arbitrary bytes as a raw database. Whatever the bytes, the conversion
// must finish with result 1 (every file can be opened here), leave the raw database as it was,
// delete its intermediate file and write a converted database no longer than its input plus the
// completion of one record cut short by the end of the file; and the same files whatever was
// converted before it in the process.
#include "dumpdec.h"
#include "fuzz_harness.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

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

std::uint32_t le(const Bytes &bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= std::uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

bool known_kind(std::uint32_t id) {
    static const std::set<std::uint32_t> kinds{0x0001, 0x0100, 0x0101, 0x0102, 0x0103,
                                               0x0104, 0x0800, 0x1002, 0x1004, 0x1008,
                                               0x1010, 0x1100, 0x3100, 0x4100, 0x4800};
    return kinds.contains(id);
}

// The converted database must be one the pseudo-section writer can walk: records of known kinds,
// each at least a header long, ending exactly at the end of the file, every header link either 0
// or the offset of one of its records.
void check_converted_database(const Bytes &tvd) {
    std::set<std::uint32_t> starts;
    std::vector<std::size_t> links; // offsets of the link fields
    static const std::map<std::uint32_t, std::vector<std::size_t>> link_fields{
        {0x1004, {168, 172}}, {0x1002, {20, 24}}, {0x1010, {48, 52}}, {0x1100, {36, 44}}};
    std::size_t at = 0;
    while (at < tvd.size()) {
        check(at + 4 <= tvd.size(), "the converted database ends inside a record header");
        const std::uint32_t id = le(tvd, at, 2), length = le(tvd, at + 2, 2);
        check(known_kind(id), "the converted database holds an unknown record kind");
        check(length >= 4, "the converted database holds a record shorter than its header");
        check(at + length <= tvd.size(), "the converted database ends inside a record");
        starts.insert(std::uint32_t(at));
        if (auto fields = link_fields.find(id); fields != link_fields.end())
            for (std::size_t field : fields->second)
                if (field + 4 <= length) links.push_back(at + field);
        at += length;
    }
    for (std::size_t field : links) {
        const std::uint32_t target = le(tvd, field, 4);
        check(target == 0 || starts.contains(target), "a header link points between records");
    }
}

} // namespace

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    std::vector<Bytes> seeds = database_seeds(ravelin::test::ByteOrder::kBig);
    for (Bytes &damaged : damaged_database_seeds(ravelin::test::ByteOrder::kBig))
        seeds.push_back(std::move(damaged));
    return seeds;
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
    check_converted_database(read_file(dir / "memory.tvd"));

    // Nothing of one conversion reaches the next: the same input converted again, right after
    // itself instead of after the fuzzer's previous input, gives the same files.
    const std::map<std::string, Bytes> first = outputs_in(dir);
    remove_outputs(dir);
    write_file(raw, data, size);
    check(dumpdec_main(raw.c_str(), &keep) == 1, "the second conversion failed");
    check(outputs_in(dir) == first, "a conversion depends on the one before it");
    return 0;
}
