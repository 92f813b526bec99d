// The records of the VIREL receiver's IP readings: the IPI record (operating mode and windows),
// the Array record, the Note, and the readings of a standard array (IPR standard) and of free
// electrode positions (IPR user), each read from a record's bytes by one function. The M
// channels follow a reading's fixed fields, as many as the IPI record in force announces.
#pragma once

#include "record_bytes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace records {

struct Ipi {
    std::uint16_t operating_mode = 0;
    std::uint8_t data_type = 0, inputs = 0;
    std::int32_t on_time = 0, off_time = 0;
    std::uint16_t on_windows = 0, off_windows = 0;

    std::uint32_t window_count() const { return std::uint32_t{on_windows} + off_windows; }

    bool operator==(const Ipi &) const = default;
};

// The window table after the fixed fields: two 32-bit fields per window.
inline constexpr std::size_t kIpiWindowTable = 20;

template <typename Fields> Ipi read_ipi(Fields &&record) {
    return {.operating_mode = record.u16(4),
            .data_type = record.u8(6),
            .inputs = record.u8(7),
            .on_time = record.i32(8),
            .off_time = record.i32(12),
            .on_windows = record.u16(16),
            .off_windows = record.u16(18)};
}

struct ArrayRecord {
    std::uint16_t code = 0; // array_codes.h
    std::uint16_t reserved = 0;
    float base_spacing = 0;

    bool operator==(const ArrayRecord &) const = default;
};

template <typename Fields> ArrayRecord read_array(Fields &&record) {
    return {record.u16(4), record.u16(6), record.f32(8)};
}

struct Note {
    std::uint32_t code = 0;
    std::string text;

    bool operator==(const Note &) const = default;
};

// The text runs to its NUL or the record's end.
template <typename Fields> Note read_note(Fields &&record) {
    const std::uint32_t code = record.u32(4);
    return {code, record.text(8, 0xFFFF)};
}

// The fixed fields of an IPR standard record. X is the position of M; A, B and N stand at
// X + dA, X + dB and X + dN (array_geometry.h).
struct IpStandard {
    float x = 0, y = 0, z = 0;
    std::uint16_t line_coord = 0;
    std::uint16_t n = 0;
    float dn = 0, da = 0, db = 0;
    std::uint16_t res_con = 0;
    std::int16_t sp = 0;
    float vp = 0, itx = 0;
    float ro = 0; // apparent resistivity, signed as measured
    float stdev = 0;

    bool operator==(const IpStandard &) const = default;
};

// M channel 0 of an IPR standard record; channel k is 4 k bytes further.
inline constexpr std::size_t kIpStandardChannels = 52;

template <typename Fields> IpStandard read_ip_standard(Fields &&record) {
    return {.x = record.f32(4),
            .y = record.f32(8),
            .z = record.f32(12),
            .line_coord = record.u16(16),
            .n = record.u16(18),
            .dn = record.f32(20),
            .da = record.f32(24),
            .db = record.f32(28),
            .res_con = record.u16(32),
            .sp = record.i16(34),
            .vp = record.f32(36),
            .itx = record.f32(40),
            .ro = record.f32(44),
            .stdev = record.f32(48)};
}

struct ElectrodePoint {
    float x = 0, y = 0, z = 0;

    bool operator==(const ElectrodePoint &) const = default;
};

// The fixed fields of an IPR user record: A, B, M, N in that order.
struct IpUser {
    std::uint16_t line_coord = 0;
    std::uint16_t reserved = 0;
    ElectrodePoint electrodes[4];
    std::uint16_t res_con = 0;
    std::int16_t sp = 0;
    float vp = 0, itx = 0, ro = 0, stdev = 0;

    bool operator==(const IpUser &) const = default;
};

// M channel 0 of an IPR user record.
inline constexpr std::size_t kIpUserChannels = 76;

template <typename Fields> IpUser read_ip_user(Fields &&record) {
    IpUser r;
    r.line_coord = record.u16(4);
    r.reserved = record.u16(6);
    for (std::size_t p = 0; p < 4; ++p) {
        const std::size_t at = 8 + 12 * p;
        r.electrodes[p].x = record.f32(at);
        r.electrodes[p].y = record.f32(at + 4);
        r.electrodes[p].z = record.f32(at + 8);
    }
    r.res_con = record.u16(56);
    r.sp = record.i16(58);
    r.vp = record.f32(60);
    r.itx = record.f32(64);
    r.ro = record.f32(68);
    r.stdev = record.f32(72);
    return r;
}

} // namespace records
