// The incremental reader on arbitrary bytes as a raw database, fed in arbitrary pieces: the first
// two input bytes choose the piece sizes, the rest is the database. Reading must end without a
// fault, stop inside the input, and read it in pieces exactly as it reads it whole.
#include "fuzz_harness.h"
#include "incremental_reader.h"

#include <algorithm>

using namespace ravelin::fuzz;

std::vector<Bytes> ravelin::fuzz::harness_seeds() {
    std::vector<Bytes> seeds;
    for (Bytes &db : database_seeds(ravelin::test::ByteOrder::kBig)) {
        db.insert(db.begin(), {0x35, 0x07});
        seeds.push_back(std::move(db));
    }
    for (Bytes &db : damaged_database_seeds(ravelin::test::ByteOrder::kBig)) {
        db.insert(db.begin(), {0xC1, 0xFF});
        seeds.push_back(std::move(db));
    }
    return seeds;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    return 0;
}

namespace {

std::size_t line_count(const survey::Database &db) {
    std::size_t count = 0;
    for (const survey::Survey &s : db.surveys)
        count += s.lines.size();
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    std::uint32_t state = data[0] << 8 | data[1]; // a small generator of piece sizes
    data += 2;
    size -= 2;

    survey::IncrementalReader whole;
    whole.feed(data, size);
    whole.finish();
    survey::IncrementalReader pieces;
    for (std::size_t at = 0; at < size;) {
        state = state * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>(1 + (state >> 16) % 600, size - at);
        pieces.feed(data + at, piece);
        at += piece;
    }
    pieces.finish();

    const survey::LoadResult &a = whole.status(), &b = pieces.status();
    check(!whole.reading() && !pieces.reading(), "still reading after the end");
    check(a.stop_offset <= size, "stopped beyond the input");
    check(a.complete() || !survey::stop_reason(a).empty(), "a stop without a reason");
    check(a.stop == b.stop && a.stop_offset == b.stop_offset &&
              a.stop_record_id == b.stop_record_id && a.stop_record_length == b.stop_record_length,
          "pieces stopped elsewhere than the whole");
    check(whole.counts() == pieces.counts() && whole.position() == pieces.position() &&
              line_count(whole.database()) == line_count(pieces.database()),
          "pieces read differently from the whole");
    check(whole.counts() == survey::count_readings(whole.database()),
          "counts differ from the model");
    return 0;
}
