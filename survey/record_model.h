// The step from a record to the survey model, shared by the reader of converted databases and the
// live reader of a dump: both cut records with the decoder's bounds and hand each sound record
// here, in either byte order.
#pragma once

#include "record_bytes.h"
#include "survey_model.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace survey {

// The decoder's record buffer: no record of a sound database is longer.
inline constexpr std::size_t kRecordCapacity = 25000;

// Bytes a record of each kind needs to hold the fields the model reads; 0 for a kind outside the
// table of record kinds.
std::size_t minimum_record_length(std::uint16_t record_id);

// One whole record: its Record ID and Record length and its fields (at most kRecordCapacity
// bytes of them).
struct RecordView {
    std::uint16_t record_id;
    std::uint16_t record_length;
    records::RecordBytes record_fields;

    std::uint16_t id() const { return record_id; }
    std::uint16_t length() const { return record_length; }
    const records::RecordBytes &fields() const { return record_fields; }
};

// Builds the model record by record, keeping the acquisition set-up in force as the decoder does.
class ModelBuilder {
  public:
    // Adds a record whose length is at least minimum_record_length() of its kind.
    void add(const RecordView &record);
    // The model so far: readings before the first KX-4 parameter record do not yet know its
    // tide option.
    const Database &database() const { return database_; }
    // The model, finished: readings before the first parameter record take its set-up.
    Database take();

  private:
    // The M channels that the IPI record in force announces and the record holds.
    std::vector<float> m_channels(std::size_t offset) const;

    Survey &survey();
    Line &line();
    Line &start_line(LineKind kind);

    void add_file_header();
    void add_survey_header();
    void add_profile_header();
    void add_sounding_header();
    void add_bore_hole_header();
    void add_ip_reading();
    void add_ip_user_reading();
    void add_gravity_reading();
    void add_kx4_parameter();
    void add_bore_hole_reading();

    const RecordView *r_ = nullptr; // the record being added
    Database database_;
    Line *line_ = nullptr; // the open line of the last survey
    std::uint16_t operating_mode_ = 0;
    std::uint32_t window_count_ = 0;
    std::uint16_t array_code_ = 0;
    std::optional<bool> tide_corrected_; // of the latest KX-4 parameter record
};

} // namespace survey
