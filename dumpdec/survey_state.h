// What records leave for the records after them: the instrument, the current survey and line,
// the IP reading setup and the bore hole's text sections.
#pragma once

#include "header_records.h"

#include <cstdint>
#include <string>

namespace dumpdec {

// The instrument and the current survey and line, as their header records left them
// (headers.cpp, ip_data.cpp). column_header_due is set by the record kinds that make the next
// KX-4 reading head its columns again (record_kinds.cpp), and cleared by that reading.
struct SurveyState {
    bool instrument_is_kx4 = false;
    std::uint16_t instrument_serial = 0;
    bool column_header_due = false;
    // As the converted database holds them.
    records::SurveyHeader survey_header;
    records::ProfileHeader profile_header;
    bool line_is_profile = false;
};

// What IPI, Array and Sounding records set for the readings that follow (ip.cpp, ip_data.cpp).
struct IpState {
    std::uint16_t operating_mode = 0;
    std::uint32_t window_count = 0;
    std::uint16_t array_code = 0;
    std::string column_names;
    // The pseudo-section geometry of the current profile, from its first reading.
    float i2d_spacing = 0.0f;
    float i2d_left_electrode = 0.0f;
    std::string reading_text; // a reading's text, kept between readings to keep its capacity
};

// Which titled sections of the survey text file the current bore hole has opened
// (borehole.cpp).
struct BoreHoleSections {
    bool res_title_written = false;
    bool short_normal_announced = false;
    bool long_normal_announced = false;
    bool lateral_announced = false;
    bool fluid_announced = false;
    bool sp_announced = false;
};

} // namespace dumpdec
