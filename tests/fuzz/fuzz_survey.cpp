// The survey model on arbitrary bytes as a converted database: reading must end without a fault,
// stop inside the input, and read the same input the same way again.
#include "fuzz_harness.h"
#include "survey_input.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const survey::LoadResult first = read_survey(data, size);
    check(first.stop_offset <= size, "stopped beyond the input");
    check(first.complete() || !survey::stop_reason(first).empty(), "a stop without a reason");
    check(first.stop != survey::LoadStop::CannotOpen, "a readable input reported unreadable");
    const survey::LoadResult second = read_survey(data, size);
    check(second.stop == first.stop && second.stop_offset == first.stop_offset &&
              reading_count(second.database) == reading_count(first.database),
          "the same input read differently");
    return 0;
}
