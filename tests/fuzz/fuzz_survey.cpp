// The survey model on arbitrary bytes as a converted database: reading must end without a fault,
// stop inside the input, and read the same input the same way again.
#include "fuzz_harness.h"
#include "survey_reader.h"

#include <cstdio>

using namespace ravelin::fuzz;

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    return database_seeds(ravelin::test::ByteOrder::kLittle);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    return 0;
}

namespace {

std::size_t reading_count(const survey::Database &db) {
    std::size_t count = 0;
    for (const survey::Survey &s : db.surveys)
        for (const survey::Line &line : s.lines)
            count += line.ip_readings.size() + line.ip_user_readings.size() +
                     line.gravity_readings.size() + line.bore_hole_readings.size();
    return count;
}

survey::LoadResult read(const std::uint8_t *data, std::size_t size) {
    Bytes copy(data, data + size);
    copy.push_back(0); // fmemopen needs a buffer even for no input
    std::FILE *in = fmemopen(copy.data(), size ? size : 1, "rb");
    check(in != nullptr, "fmemopen failed");
    survey::LoadResult result = survey::read_database(in, size);
    std::fclose(in);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const survey::LoadResult first = read(data, size);
    check(first.stop_offset <= size, "stopped beyond the input");
    check(first.complete() || !survey::stop_reason(first).empty(), "a stop without a reason");
    check(first.stop != survey::LoadStop::CannotOpen, "a readable input reported unreadable");
    const survey::LoadResult second = read(data, size);
    check(second.stop == first.stop && second.stop_offset == first.stop_offset &&
              reading_count(second.database) == reading_count(first.database),
          "the same input read differently");
    return 0;
}
