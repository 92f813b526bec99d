// Typed bore hole records written with RawBuilder; every field has a plausible default, so a test
// names only what it is about:
//
//     add(raw, BoreHoleHeader{.name = "BH-2"});
//     add(raw, BoreHoleResistivity{.array = 1, .depth = 12.5f});
#pragma once

#include "raw_builder.h"
#include "record_layout.h"

#include <cstdint>
#include <string>

namespace ravelin::test {

struct BoreHoleHeader {
    std::uint16_t plunge = 900;   // tenths of a degree
    std::uint16_t azimuth = 2700; // tenths of a degree
    double easting = -1250.5;
    double northing = 300.25;
    float altitude = 352.5f;
    std::string name = "BH-7";
    std::uint32_t d_index = 0x10, p_index = 0x20, extension = 0;
    std::uint32_t next = 0;       // 0xFFFFFFFF: no next line header
    std::uint32_t first_data = 0; // 0xFFFFFFFF: an empty bore hole
    std::uint32_t reserved1 = 0;
};

// Array: 0 Short Normal, 1 Long Normal, 2 Lateral.
struct BoreHoleResistivity {
    std::uint16_t array = 0;
    std::int16_t sp = -12;
    float depth = 10.0f;
    float resistivity = 125.5f;
    std::uint32_t next_depth = 0, n_param = 2;
};

struct BoreHoleFluid {
    float depth = 10.0f;
    float resistivity = 8.25f;
    float temp = 21.46f;
    std::uint32_t next_depth = 0, n_param = 2;
};

struct BoreHoleSp {
    float depth = 10.0f;
    std::int16_t sp = -35;
    std::uint16_t reserved1 = 0;
    std::uint32_t reserved2 = 0, next_depth = 0, n_param = 1;
};

inline RawBuilder &add(RawBuilder &raw, const BoreHoleHeader &h) {
    raw.record(record_id::kBoreHoleHeader)
        .u16(h.plunge)
        .u16(h.azimuth)
        .f64(h.easting)
        .f64(h.northing)
        .f32(h.altitude)
        .text(h.name, 8)
        .u32(h.d_index)
        .u32(h.p_index)
        .u32(h.extension)
        .u32(h.next)
        .u32(h.first_data)
        .u32(h.reserved1);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const BoreHoleResistivity &r) {
    raw.record(record_id::kBoreHoleResData)
        .u16(r.array)
        .i16(r.sp)
        .f32(r.depth)
        .f32(r.resistivity)
        .u32(r.next_depth)
        .u32(r.n_param);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const BoreHoleFluid &r) {
    raw.record(record_id::kBoreHoleFluidData)
        .f32(r.depth)
        .f32(r.resistivity)
        .f32(r.temp)
        .u32(r.next_depth)
        .u32(r.n_param);
    return raw;
}

inline RawBuilder &add(RawBuilder &raw, const BoreHoleSp &r) {
    raw.record(record_id::kBoreHoleSpData)
        .f32(r.depth)
        .i16(r.sp)
        .u16(r.reserved1)
        .u32(r.reserved2)
        .u32(r.next_depth)
        .u32(r.n_param);
    return raw;
}

} // namespace ravelin::test
