// The records of the KX-4 gravity meter: a reading (KX-4 data) and the meter's set-up (KX-4
// parameter), each read from a record's bytes by one function.
#pragma once

#include "record_bytes.h"

#include <cstddef>
#include <cstdint>

namespace records {

// One KX-4 reading. Tilts, temperature and tide are the stored counts scaled as the meter lists
// them (x 0.1, x 0.1, x 0.01, x 0.001).
struct Kx4Reading {
    float x = 0; // station, easting or longitude by coordinate mode
    float y = 0; // line, northing or latitude by coordinate mode
    float altitude = 0;
    float line_id = 0;
    float gravity = 0;            // mGal, the meter's tide correction included
    float standard_deviation = 0; // mGal
    double tilt_x = 0;
    double tilt_y = 0;
    double temperature = 0;     // degrees C
    double tide = 0;            // mGal
    std::uint16_t duration = 0; // seconds
    std::uint16_t rejected = 0; // samples
    float terrain_correction = 0;
    std::uint32_t time_ms = 0;
    Date date;
    std::int32_t raw_samples = 0;    // -1: the reading carries none
    std::int32_t raw_length = 0;     // bytes of raw samples
    std::uint8_t line_direction = 0; // 0 N, 1 S, 2 E, 3 W

    bool operator==(const Kx4Reading &) const = default;
};

// The first raw sample (32 bits each) of a KX-4 data record.
inline constexpr std::size_t kKx4RawSamples = 62;

template <typename Fields> Kx4Reading read_kx4_reading(Fields &&record) {
    return {.x = record.f32(4),
            .y = record.f32(8),
            .altitude = record.f32(12),
            .line_id = record.f32(16),
            .gravity = record.f32(20),
            .standard_deviation = record.f32(24),
            .tilt_x = record.i16(28) * 0.1,
            .tilt_y = record.i16(30) * 0.1,
            .temperature = record.i16(32) * 0.01,
            .tide = record.i16(34) * 0.001,
            .duration = record.u16(36),
            .rejected = record.u16(38),
            .terrain_correction = record.f32(40),
            .time_ms = record.u32(44),
            .date = read_date(record, 48),
            .raw_samples = record.i32(52),
            .raw_length = record.i32(56),
            .line_direction = record.u8(60)};
}

// The KX-4 parameter record: the meter's set-up constants and option switches.
struct Kx4Parameter {
    double gref = 0, gcal1 = 0;
    double tilt_x_sensitivity = 0, tilt_y_sensitivity = 0, tilt_x_offset = 0, tilt_y_offset = 0;
    double tempco = 0, drift = 0;
    std::uint32_t drift_time_ms = 0; // drift start, milliseconds since midnight
    Date drift_date;
    std::uint16_t flags = 0; // option bits: 0x01 tide correction, 0x02 continuous tilt,
                             // 0x04 auto rejection, 0x08 terrain correction, 0x10 seismic
                             // filter, 0x20 raw data

    bool tide_correction() const { return (flags & 0x01) != 0; }

    bool operator==(const Kx4Parameter &) const = default;
};

// The Flags field, the last, ends here: a shorter record states no options.
inline constexpr std::size_t kKx4ParameterFlags = 76;
inline constexpr std::size_t kKx4ParameterLength = kKx4ParameterFlags + 2;

template <typename Fields> Kx4Parameter read_kx4_parameter(Fields &&record) {
    return {.gref = record.f64(4),
            .gcal1 = record.f64(12),
            .tilt_x_sensitivity = record.f64(20),
            .tilt_y_sensitivity = record.f64(28),
            .tilt_x_offset = record.f64(36),
            .tilt_y_offset = record.f64(44),
            .tempco = record.f64(52),
            .drift = record.f64(60),
            .drift_time_ms = record.u32(68),
            .drift_date = read_date(record, 72),
            .flags = record.u16(kKx4ParameterFlags)};
}

} // namespace records
