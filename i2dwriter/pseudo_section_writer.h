// One run of the pseudo-section writer: walks the records of a converted database and writes the
// pseudo-section lines of its profiles. All state lives in the object, one object per run.
#pragma once

#include "pseudo_section.h"
#include "record_file.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace i2dwriter {

class PseudoSectionWriter {
  public:
    PseudoSectionWriter(std::FILE *input, std::uint64_t input_length, std::FILE *output);

    // Returns false when writing the output failed.
    bool run();

  private:
    // Performs the action of the current record; false for a kind this writer does not handle.
    bool handle_record();
    void on_ipr_standard();
    bool flush();

    static constexpr std::size_t record_capacity = 500;

    records::RecordReader reader_;
    std::uint64_t input_length_;
    std::FILE *output_;
    std::string pending_;
    bool write_failed_ = false;

    std::uint64_t file_position_ = 0;
    bool line_is_profile_ = false;
    bool awaiting_first_data_ = false;
    std::uint16_t ip_operating_mode_ = 0;
    std::uint32_t ip_window_count_ = 0;
    std::uint16_t array_code_ = 0;
    records::ProfileGeometry geometry_;
    records::SurveyHeader survey_header_;
    records::ProfileHeader profile_header_;
};

} // namespace i2dwriter
