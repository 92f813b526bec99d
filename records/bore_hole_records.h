// The data records of a bore hole log: resistivity (short normal, long normal or lateral array),
// fluid resistivity and temperature, and self-potential, each read from a record's bytes by one
// function.
#pragma once

#include "record_bytes.h"

#include <cstdint>

namespace records {

struct BoreHoleResistivity {
    std::uint16_t array = 0; // 0 short normal, 1 long normal, 2 lateral
    std::int16_t sp = 0;
    float depth = 0;
    float resistivity = 0;
    std::uint32_t next_depth = 0, n_param = 0;
};

template <typename Fields> BoreHoleResistivity read_bore_hole_resistivity(Fields &&record) {
    return {.array = record.u16(4),
            .sp = record.i16(6),
            .depth = record.f32(8),
            .resistivity = record.f32(12),
            .next_depth = record.u32(16),
            .n_param = record.u32(20)};
}

struct BoreHoleFluid {
    float depth = 0;
    float resistivity = 0;
    float temperature = 0;
    std::uint32_t next_depth = 0, n_param = 0;
};

template <typename Fields> BoreHoleFluid read_bore_hole_fluid(Fields &&record) {
    return {.depth = record.f32(4),
            .resistivity = record.f32(8),
            .temperature = record.f32(12),
            .next_depth = record.u32(16),
            .n_param = record.u32(20)};
}

struct BoreHoleSp {
    float depth = 0;
    std::int16_t sp = 0;
    std::uint16_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint32_t next_depth = 0, n_param = 0;
};

template <typename Fields> BoreHoleSp read_bore_hole_sp(Fields &&record) {
    return {.depth = record.f32(4),
            .sp = record.i16(8),
            .reserved1 = record.u16(10),
            .reserved2 = record.u32(12),
            .next_depth = record.u32(16),
            .n_param = record.u32(20)};
}

} // namespace records
