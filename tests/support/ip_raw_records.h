// Typed records of the VIREL IP family, written with RawBuilder, in the style of raw_records.h:
//
//     RawBuilder raw;
//     add(raw, FileHeader{});
//     add(raw, Ipi{.operating_mode = 1, .on_win_num = 3, .off_win_num = 5});
//     add(raw, ArrayRecord{.array_code = 0x11});
//     add(raw, IprStandard{.x = 35, .ro = -120.5f, .m_channels = {1, 2, 3, 4}});
//
// M channels and window tables are written as given, so a test can make them disagree with the
// IPI record's window count.
#pragma once

#include "raw_builder.h"
#include "record_layout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ravelin::test {

struct Ipi {
    std::uint16_t operating_mode = 0;
    std::uint8_t data_type = 1;
    std::uint8_t inputs = 4;
    std::int32_t on_time = 2000;
    std::int32_t off_time = 2000;
    std::uint16_t on_win_num = 2;
    std::uint16_t off_win_num = 2;
    // Two 4-byte fields per window; empty: generated from the window counts.
    std::vector<std::uint32_t> window_table{};
};

struct ArrayRecord {
    std::uint16_t array_code = 0x00;
    std::uint16_t reserved = 0;
    float base_spacing = 10.0f;
};

struct Note {
    std::uint32_t note_code = 0x12;
    std::string text = "wet ground near station 12";
    std::size_t width = 0; // text field width; 0: the text and its NUL
};

struct SoundingHeader {
    std::uint16_t array = 0x10;
    std::uint16_t azimuth = 900;
    double easting = 512340.5;
    double northing = 5034120.25;
    float altitude = 352.5f;
    std::string sound_name = "VES-1";
    std::uint32_t first_data = 0; // 0xFFFFFFFF: an empty sounding
    std::uint32_t reserved = 0;
    std::uint32_t next_sound = 0;
};

struct IprStandard {
    float x = 0, y = 0, z = 0;
    std::uint16_t line_coord = 0;
    std::uint16_t n = 1;
    float dn = 10, da = 0, db = -10;
    std::uint16_t res_con = 250;
    std::int16_t sp = -15;
    float vp = 120.5f, itx = 0.5f, ro = 95.25f, stdev = 0.8f;
    std::vector<float> m_channels = {10.5f, 8.25f, 6.125f, 4.0f};
};

struct ElectrodePoint {
    float x = 0, y = 0, z = 0;
};

struct IprUser {
    std::uint16_t line_coord = 0;
    std::uint16_t reserved = 0;
    std::array<ElectrodePoint, 4> points{
        {{0, 0, 100}, {10, 0, 100.5f}, {20, 0, 101}, {30, 0, 101.5f}}};
    std::uint16_t res_con = 250;
    std::int16_t sp = -15;
    float vp = 120.5f, itx = 0.5f, ro = 95.25f, stdev = 0.8f;
    std::vector<float> m_channels = {10.5f, 8.25f, 6.125f, 4.0f};
};

inline RawBuilder &add(RawBuilder &raw, const Ipi &r) {
    raw.record(record_id::kIpi)
        .u16(r.operating_mode)
        .u8(r.data_type)
        .u8(r.inputs)
        .i32(r.on_time)
        .i32(r.off_time)
        .u16(r.on_win_num)
        .u16(r.off_win_num);
    if (r.window_table.empty()) {
        const std::uint32_t windows = std::uint32_t{r.on_win_num} + r.off_win_num;
        for (std::uint32_t w = 0; w < windows; ++w)
            raw.u32(40 + 80 * w).u32(80); // start and width of each window, in ms
    }
    for (std::uint32_t field : r.window_table)
        raw.u32(field);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const ArrayRecord &r) {
    raw.record(record_id::kArray).u16(r.array_code).u16(r.reserved).f32(r.base_spacing);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const Note &r) {
    raw.record(record_id::kNote)
        .u32(r.note_code)
        .text(r.text, r.width ? r.width : r.text.size() + 1);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const SoundingHeader &r) {
    raw.record(record_id::kSoundingHeader)
        .u16(r.array)
        .u16(r.azimuth)
        .f64(r.easting)
        .f64(r.northing)
        .f32(r.altitude)
        .text(r.sound_name, 8)
        .u32(r.first_data)
        .u32(r.reserved)
        .u32(r.next_sound);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const IprStandard &r) {
    raw.record(record_id::kIprStandard)
        .f32(r.x)
        .f32(r.y)
        .f32(r.z)
        .u16(r.line_coord)
        .u16(r.n)
        .f32(r.dn)
        .f32(r.da)
        .f32(r.db)
        .u16(r.res_con)
        .i16(r.sp)
        .f32(r.vp)
        .f32(r.itx)
        .f32(r.ro)
        .f32(r.stdev);
    for (float m : r.m_channels)
        raw.f32(m);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const IprUser &r) {
    raw.record(record_id::kIprUser).u16(r.line_coord).u16(r.reserved);
    for (const ElectrodePoint &p : r.points)
        raw.f32(p.x).f32(p.y).f32(p.z);
    raw.u16(r.res_con).i16(r.sp).f32(r.vp).f32(r.itx).f32(r.ro).f32(r.stdev);
    for (float m : r.m_channels)
        raw.f32(m);
    return raw;
}

} // namespace ravelin::test
