// Typed records of the header and gravity families, written with RawBuilder. Every field has a
// plausible default, so a test names only what it is about:
//
//     RawBuilder raw;
//     add(raw, FileHeader{});                       // a KX-4 file header
//     add(raw, SurveyHeader{.flags = 2});
//     add(raw, ProfileHeader{.line_pos = -120.5f});
//     add(raw, Kx4Data{.y = -4520.5f, .x = 300.25f});
//
// Dates are given in decimal and written as the instrument's BCD day and month bytes.
#pragma once

#include "raw_builder.h"
#include "record_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ravelin::test {

struct FileHeader {
    std::string manufacture_name = "Tervane";
    std::uint16_t manufacture_id = 0x15;
    std::uint16_t family_id = 0x2;
    std::uint16_t instrument_model = 0x4;
    std::uint16_t instrument_ver = 0x12;
    std::string instrument_name = "KX-4";
    std::uint16_t instrument_sn = 1234;
    std::uint16_t soft_manuf_id = 0x15;
    std::string soft_manuf_name = "Tervane";
    std::string soft_pack_name = "FieldOS";
    std::uint16_t software_ver = 0x3;
    std::uint16_t software_rev = 0x2A;
    std::int32_t time_ms = 45296000; // 12:34:56
    int day = 5, month = 11;
    std::uint16_t year = 2006;
    std::uint16_t flags = 0;
    std::uint16_t reserved = 0;
    std::uint32_t ext_point = 0, pointer1 = 0, pointer2 = 0, pointer3 = 0;
    std::vector<std::uint8_t> tail{}; // bytes after the listed fields
};

struct SurveyHeader {
    std::string client_name = "North Ridge Mining";
    std::string survey_name = "Block 7";
    std::string operator_name = "J. Field";
    std::int32_t time_ms = 28800000; // 08:00:00
    int day = 5, month = 11;
    std::uint16_t year = 2006;
    std::int32_t utc_ltz = -18000000;
    std::uint16_t flags = 0; // coordinate mode of the data
    std::uint16_t azimuth = 90;
    std::uint16_t utm_zone = 18;
    std::uint16_t mag_declin = 14;
    double easting = -75.5;
    double northing = 45.25;
    float altitude = 120.0f;
    float grid_n = 1000.0f, grid_s = 0.0f, grid_e = 500.0f, grid_w = 0.0f;
    std::uint32_t next_survey = 0;
    std::uint32_t first_line = 0;
    std::uint32_t reserved1 = 0, reserved2 = 0;
};

struct ProfileHeader {
    float line_pos = 100.0f;
    std::uint16_t line_coord = 0;
    std::uint16_t azimuth = 900;
    std::uint16_t station_num = 20;
    std::uint16_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint32_t first_data = 0; // 0xFFFFFFFF: an empty line
    std::uint32_t next_prof = 0;  // 0xFFFFFFFF: no next line header
};

struct Kx4Data {
    float x = 25.0f, y = 100.0f, altitude = 352.25f, line_id = 100.0f;
    float gravity = 3912.456f, standard_dev = 0.012f;
    std::int16_t tilt_x = 12, tilt_y = -5; // 0.1 units
    std::int16_t temperature = 2146;       // 0.01 units
    std::int16_t tide = -87;               // 0.001 units
    std::uint16_t duration = 60, rejected = 2;
    float terrain_corr = 0.125f;
    std::int32_t time_ms = 45296000; // 12:34:56
    int day = 5, month = 11;
    std::uint16_t year = 2006;
    std::vector<std::int32_t> samples{};             // raw samples, written from offset 62
    std::optional<std::int32_t> raw_samples_field{}; // default: sample count, -1 without samples
    std::optional<std::int32_t> raw_length_field{};  // default: 4 bytes per sample
    std::uint8_t line_direction = 0;
    std::uint8_t unused = 0;
};

struct Kx4Parameter {
    double gref = 3900.5, gcal1 = 1.000123, tiltx_s = 12.5, tilty_s = 12.75;
    double tiltx_o = -0.25, tilty_o = 0.5, tempco = 0.031, drift = 0.0125;
    std::int32_t drift_time_ms = 25200000; // 07:00:00
    int day = 4, month = 11;
    std::uint16_t year = 2006;
    std::uint16_t flags = 0x0021;
};

inline RawBuilder &add(RawBuilder &raw, const FileHeader &h) {
    raw.record(record_id::kFileHeader)
        .text(h.manufacture_name, 16)
        .u16(h.manufacture_id)
        .u16(h.family_id)
        .u16(h.instrument_model)
        .u16(h.instrument_ver)
        .text(h.instrument_name, 16)
        .u16(h.instrument_sn)
        .u16(h.soft_manuf_id)
        .text(h.soft_manuf_name, 16)
        .text(h.soft_pack_name, 16)
        .u16(h.software_ver)
        .u16(h.software_rev)
        .i32(h.time_ms)
        .bcd(h.day)
        .bcd(h.month)
        .u16(h.year)
        .u16(h.flags)
        .u16(h.reserved)
        .u32(h.ext_point)
        .u32(h.pointer1)
        .u32(h.pointer2)
        .u32(h.pointer3)
        .raw_bytes(h.tail);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const SurveyHeader &h) {
    raw.record(record_id::kSurveyHeader)
        .text(h.client_name, 36)
        .text(h.survey_name, 36)
        .text(h.operator_name, 36)
        .i32(h.time_ms)
        .bcd(h.day)
        .bcd(h.month)
        .u16(h.year)
        .i32(h.utc_ltz)
        .u16(h.flags)
        .u16(h.azimuth)
        .u16(h.utm_zone)
        .u16(h.mag_declin)
        .f64(h.easting)
        .f64(h.northing)
        .f32(h.altitude)
        .f32(h.grid_n)
        .f32(h.grid_s)
        .f32(h.grid_e)
        .f32(h.grid_w)
        .u32(h.next_survey)
        .u32(h.first_line)
        .u32(h.reserved1)
        .u32(h.reserved2);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const ProfileHeader &h) {
    raw.record(record_id::kProfileHeader)
        .f32(h.line_pos)
        .u16(h.line_coord)
        .u16(h.azimuth)
        .u16(h.station_num)
        .u16(h.reserved1)
        .u32(h.reserved2)
        .u32(h.first_data)
        .u32(h.next_prof);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const Kx4Data &r) {
    raw.record(record_id::kKx4Data)
        .f32(r.x)
        .f32(r.y)
        .f32(r.altitude)
        .f32(r.line_id)
        .f32(r.gravity)
        .f32(r.standard_dev)
        .i16(r.tilt_x)
        .i16(r.tilt_y)
        .i16(r.temperature)
        .i16(r.tide)
        .u16(r.duration)
        .u16(r.rejected)
        .f32(r.terrain_corr)
        .i32(r.time_ms)
        .bcd(r.day)
        .bcd(r.month)
        .u16(r.year)
        .i32(r.raw_samples_field.value_or(
            r.samples.empty() ? -1 : static_cast<std::int32_t>(r.samples.size())))
        .i32(r.raw_length_field.value_or(static_cast<std::int32_t>(r.samples.size() * 4)))
        .u8(r.line_direction)
        .u8(r.unused);
    for (std::int32_t sample : r.samples)
        raw.i32(sample);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const Kx4Parameter &p) {
    raw.record(record_id::kKx4Parameter)
        .f64(p.gref)
        .f64(p.gcal1)
        .f64(p.tiltx_s)
        .f64(p.tilty_s)
        .f64(p.tiltx_o)
        .f64(p.tilty_o)
        .f64(p.tempco)
        .f64(p.drift)
        .i32(p.drift_time_ms)
        .bcd(p.day)
        .bcd(p.month)
        .u16(p.year)
        .u16(p.flags);
    return raw;
}

} // namespace ravelin::test
