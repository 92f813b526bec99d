// Reads a raw database (big-endian, as the instrument sends it) while it arrives: fed its bytes
// in order, in pieces of any size, it cuts them into records across the pieces' edges and adds
// each record to the survey model as soon as it is whole. The bounds and damage rules are the
// converted database reader's: a record it cannot read stops reading with the reason, and
// everything before it stays in the model. Nothing here throws for bad input.
#pragma once

#include "record_model.h"
#include "survey_model.h"
#include "survey_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace survey {

// Readings received so far, by kind.
struct ReadingCounts {
    std::uint64_t ip = 0; // standard and user records
    std::uint64_t kx4 = 0;
    std::uint64_t bore_hole = 0;

    bool operator==(const ReadingCounts &) const = default;
};

ReadingCounts count_readings(const Database &database);

class IncrementalReader {
  public:
    // Takes the next bytes of the raw database. Returns false once reading has stopped; bytes
    // after the stop are ignored.
    bool feed(const std::uint8_t *data, std::size_t size);
    // The raw database ends here. A record it ends inside is read with its missing bytes as 0xFF
    // (erased memory), as the decoder reads it, and the stop says the record was cut.
    void finish();

    bool reading() const { return status_.stop == LoadStop::EndOfFile && !finished_; }
    // Where and why reading stopped (stop_reason() of it says so in a sentence); EndOfFile while
    // reading. The database part of it is empty: the model is database().
    const LoadResult &status() const { return status_; }
    const Database &database() const { return builder_.database(); }
    const ReadingCounts &counts() const { return counts_; }
    std::uint64_t position() const { return position_; } // bytes read as whole records
    // The finished model, as survey::read_database gives it.
    Database take() { return builder_.take(); }

  private:
    bool header_fits(std::uint16_t id, std::uint16_t length);
    void add_record(const std::uint8_t *record, std::uint16_t length);
    void stop(LoadStop why, std::uint16_t id, std::uint16_t length);
    std::uint16_t pending_length() const;

    ModelBuilder builder_;
    LoadResult status_;
    ReadingCounts counts_;
    std::uint64_t position_ = 0;
    std::vector<std::uint8_t> pending_; // a record cut by a piece's edge, so far
    bool finished_ = false;
};

} // namespace survey
