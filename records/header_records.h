// The header records: the File header (which instrument wrote the memory), the Survey header and
// the three line headers (profile, sounding, bore hole), each read from a record's bytes by one
// function. The link fields' offsets are those of record_layout.h.
#pragma once

#include "record_bytes.h"
#include "record_layout.h"

#include <cstdint>
#include <string>

namespace records {

struct FileHeader {
    std::string manufacture_name;
    std::uint16_t manufacture_id = 0, family_id = 0, instrument_model = 0, instrument_version = 0;
    std::string instrument_name; // "KX-4", "VIREL", ...
    std::uint16_t serial = 0;
    std::uint16_t software_manufacture_id = 0;
    std::string software_manufacture_name;
    std::string software_package_name;
    std::uint16_t software_version = 0, software_revision = 0;
    std::uint32_t time_ms = 0; // milliseconds since midnight
    Date date;
    std::uint16_t flags = 0, reserved = 0;
    std::uint32_t extension = 0, pointer1 = 0, pointer2 = 0, pointer3 = 0;

    bool operator==(const FileHeader &) const = default;
};

template <typename Fields> FileHeader read_file_header(Fields &&record) {
    return {.manufacture_name = record.text(4, 16),
            .manufacture_id = record.u16(20),
            .family_id = record.u16(22),
            .instrument_model = record.u16(24),
            .instrument_version = record.u16(26),
            .instrument_name = record.text(28, 16),
            .serial = record.u16(44),
            .software_manufacture_id = record.u16(46),
            .software_manufacture_name = record.text(48, 16),
            .software_package_name = record.text(64, 16),
            .software_version = record.u16(80),
            .software_revision = record.u16(82),
            .time_ms = record.u32(84),
            .date = read_date(record, 88),
            .flags = record.u16(92),
            .reserved = record.u16(94),
            .extension = record.u32(96),
            .pointer1 = record.u32(100),
            .pointer2 = record.u32(104),
            .pointer3 = record.u32(108)};
}

struct SurveyHeader {
    std::string client;
    std::string name;
    std::string operator_name;
    std::uint32_t time_ms = 0;
    Date date;
    std::int32_t utc_offset_ms = 0;    // UTC_LTZ: local time zone minus UTC
    std::uint16_t coordinate_mode = 0; // Flags: how KX-4 readings give X and Y
    std::uint16_t azimuth = 0;
    std::uint16_t utm_zone = 0;
    std::uint16_t magnetic_declination = 0;
    double longitude = 0; // "Easting" field, degrees east positive
    double latitude = 0;  // "Northing" field, degrees north positive
    float altitude = 0;
    float grid_north = 0, grid_south = 0, grid_east = 0, grid_west = 0;
    std::uint32_t next_survey = 0, first_line = 0; // links
    std::uint32_t reserved1 = 0, reserved2 = 0;

    bool operator==(const SurveyHeader &) const = default;
};

template <typename Fields> SurveyHeader read_survey_header(Fields &&record) {
    return {.client = record.text(4, 36),
            .name = record.text(40, 36),
            .operator_name = record.text(76, 36),
            .time_ms = record.u32(112),
            .date = read_date(record, 116),
            .utc_offset_ms = record.i32(120),
            .coordinate_mode = record.u16(124),
            .azimuth = record.u16(126),
            .utm_zone = record.u16(128),
            .magnetic_declination = record.u16(130),
            .longitude = record.f64(132),
            .latitude = record.f64(140),
            .altitude = record.f32(148),
            .grid_north = record.f32(152),
            .grid_south = record.f32(156),
            .grid_east = record.f32(160),
            .grid_west = record.f32(164),
            .next_survey = record.u32(ravelin::link_field::kSurveyNextSurvey),
            .first_line = record.u32(ravelin::link_field::kSurveyFirstLine),
            .reserved1 = record.u32(176),
            .reserved2 = record.u32(180)};
}

struct ProfileHeader {
    float line_pos = 0;           // a northing, or an easting when line_pos_is_easting()
    std::uint16_t line_coord = 0; // flags; bit 1: Line pos is an easting
    std::uint16_t azimuth_tenths = 0;
    std::uint16_t station_count = 0;
    std::uint16_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint32_t first_data = 0, next_profile = 0; // links

    bool line_pos_is_easting() const { return (line_coord & 0x2) != 0; }
    // The letter after the line's position: E or W for an easting, N or S for a northing.
    char direction() const {
        if (line_pos_is_easting()) return line_pos > 0 ? 'E' : 'W';
        return line_pos > 0 ? 'N' : 'S';
    }

    bool operator==(const ProfileHeader &) const = default;
};

template <typename Fields> ProfileHeader read_profile_header(Fields &&record) {
    return {.line_pos = record.f32(4),
            .line_coord = record.u16(8),
            .azimuth_tenths = record.u16(10),
            .station_count = record.u16(12),
            .reserved1 = record.u16(14),
            .reserved2 = record.u32(16),
            .first_data = record.u32(ravelin::link_field::kProfileFirstData),
            .next_profile = record.u32(ravelin::link_field::kProfileNextProfile)};
}

struct SoundingHeader {
    std::uint16_t array_code = 0;
    std::uint16_t azimuth_tenths = 0;
    double easting = 0;
    double northing = 0;
    float altitude = 0;
    std::string name;
    std::uint32_t first_data = 0; // link
    std::uint32_t reserved = 0;
    std::uint32_t next_sounding = 0; // link

    bool operator==(const SoundingHeader &) const = default;
};

template <typename Fields> SoundingHeader read_sounding_header(Fields &&record) {
    return {.array_code = record.u16(4),
            .azimuth_tenths = record.u16(6),
            .easting = record.f64(8),
            .northing = record.f64(16),
            .altitude = record.f32(24),
            .name = record.text(28, 8),
            .first_data = record.u32(ravelin::link_field::kSoundingFirstData),
            .reserved = record.u32(40),
            .next_sounding = record.u32(ravelin::link_field::kSoundingNextSounding)};
}

struct BoreHoleHeader {
    std::uint16_t plunge_tenths = 0;
    std::uint16_t azimuth_tenths = 0;
    double easting = 0;
    double northing = 0;
    float altitude = 0;
    std::string name;
    std::uint32_t d_index = 0, p_index = 0, extension = 0;
    std::uint32_t next_bore_hole = 0, first_data = 0; // links
    std::uint32_t reserved = 0;

    bool operator==(const BoreHoleHeader &) const = default;
};

template <typename Fields> BoreHoleHeader read_bore_hole_header(Fields &&record) {
    return {.plunge_tenths = record.u16(4),
            .azimuth_tenths = record.u16(6),
            .easting = record.f64(8),
            .northing = record.f64(16),
            .altitude = record.f32(24),
            .name = record.text(28, 8),
            .d_index = record.u32(36),
            .p_index = record.u32(40),
            .extension = record.u32(44),
            .next_bore_hole = record.u32(ravelin::link_field::kBoreHoleNextBoreHole),
            .first_data = record.u32(ravelin::link_field::kBoreHoleFirstData),
            .reserved = record.u32(56)};
}

} // namespace records
