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
};

template <typename Fields> FileHeader read_file_header(Fields &&record) {
    FileHeader h;
    h.manufacture_name = record.text(4, 16);
    h.manufacture_id = record.u16(20);
    h.family_id = record.u16(22);
    h.instrument_model = record.u16(24);
    h.instrument_version = record.u16(26);
    h.instrument_name = record.text(28, 16);
    h.serial = record.u16(44);
    h.software_manufacture_id = record.u16(46);
    h.software_manufacture_name = record.text(48, 16);
    h.software_package_name = record.text(64, 16);
    h.software_version = record.u16(80);
    h.software_revision = record.u16(82);
    h.time_ms = record.u32(84);
    h.date = read_date(record, 88);
    h.flags = record.u16(92);
    h.reserved = record.u16(94);
    h.extension = record.u32(96);
    h.pointer1 = record.u32(100);
    h.pointer2 = record.u32(104);
    h.pointer3 = record.u32(108);
    return h;
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
};

template <typename Fields> SurveyHeader read_survey_header(Fields &&record) {
    SurveyHeader h;
    h.client = record.text(4, 36);
    h.name = record.text(40, 36);
    h.operator_name = record.text(76, 36);
    h.time_ms = record.u32(112);
    h.date = read_date(record, 116);
    h.utc_offset_ms = record.i32(120);
    h.coordinate_mode = record.u16(124);
    h.azimuth = record.u16(126);
    h.utm_zone = record.u16(128);
    h.magnetic_declination = record.u16(130);
    h.longitude = record.f64(132);
    h.latitude = record.f64(140);
    h.altitude = record.f32(148);
    h.grid_north = record.f32(152);
    h.grid_south = record.f32(156);
    h.grid_east = record.f32(160);
    h.grid_west = record.f32(164);
    h.next_survey = record.u32(ravelin::link_field::kSurveyNextSurvey);
    h.first_line = record.u32(ravelin::link_field::kSurveyFirstLine);
    h.reserved1 = record.u32(176);
    h.reserved2 = record.u32(180);
    return h;
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
};

template <typename Fields> ProfileHeader read_profile_header(Fields &&record) {
    ProfileHeader h;
    h.line_pos = record.f32(4);
    h.line_coord = record.u16(8);
    h.azimuth_tenths = record.u16(10);
    h.station_count = record.u16(12);
    h.reserved1 = record.u16(14);
    h.reserved2 = record.u32(16);
    h.first_data = record.u32(ravelin::link_field::kProfileFirstData);
    h.next_profile = record.u32(ravelin::link_field::kProfileNextProfile);
    return h;
}

struct SoundingHeader {
    std::uint16_t array_code = 0;
    std::uint16_t azimuth_tenths = 0;
    double easting = 0;
    double northing = 0;
    float altitude = 0;
    std::string name;
    std::uint32_t first_data = 0, next_sounding = 0; // links
    std::uint32_t reserved = 0;
};

template <typename Fields> SoundingHeader read_sounding_header(Fields &&record) {
    SoundingHeader h;
    h.array_code = record.u16(4);
    h.azimuth_tenths = record.u16(6);
    h.easting = record.f64(8);
    h.northing = record.f64(16);
    h.altitude = record.f32(24);
    h.name = record.text(28, 8);
    h.first_data = record.u32(ravelin::link_field::kSoundingFirstData);
    h.reserved = record.u32(40);
    h.next_sounding = record.u32(ravelin::link_field::kSoundingNextSounding);
    return h;
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
};

template <typename Fields> BoreHoleHeader read_bore_hole_header(Fields &&record) {
    BoreHoleHeader h;
    h.plunge_tenths = record.u16(4);
    h.azimuth_tenths = record.u16(6);
    h.easting = record.f64(8);
    h.northing = record.f64(16);
    h.altitude = record.f32(24);
    h.name = record.text(28, 8);
    h.d_index = record.u32(36);
    h.p_index = record.u32(40);
    h.extension = record.u32(44);
    h.next_bore_hole = record.u32(ravelin::link_field::kBoreHoleNextBoreHole);
    h.first_data = record.u32(ravelin::link_field::kBoreHoleFirstData);
    h.reserved = record.u32(56);
    return h;
}

} // namespace records
