// A dipole-dipole profile for the quality control's window: dipoles of 5 m, potential dipoles at
// n = 1 to 4 of sixteen current dipoles, and the reciprocal of each reading measured after them
// all. Pair errors follow |e| = 0.03 R^1.1 times a scatter factor between 0.4 and 1.6; decays
// are 20 t^-0.5 over six windows. Three readings are bad: one of Stdev 12 %, one whose decay
// rises, one whose decay is five times its dipole's master curve.
#pragma once

#include "../i2dwriter/tvd_builder.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace qc_profile {

struct Reading {
    float a = 0, b = 0, m = 0, n = 0; // where the electrodes stood (m)
    std::uint16_t level = 1;          // n of the array, as the receiver records it
    float ro = 0, r = 0, stdev = 1;
    std::vector<float> decay;
};

inline std::vector<Reading> readings() {
    std::vector<Reading> forward, reciprocal;
    std::uint32_t state = 2024;
    auto uniform = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / double(1u << 24);
    };
    for (int c = 0; c < 16; ++c)
        for (int level = 1; level <= 4; ++level) {
            const float a = 5.0f * c, m = a + 5.0f * (level + 1);
            const double k = std::numbers::pi * level * (level + 1) * (level + 2) * 5.0;
            const double rho = 100 * (1 + 0.4 * std::sin(0.3 * c + level));
            const double r = rho / k;
            const double e = (c % 2 ? 1 : -1) * 0.03 * std::pow(r, 1.1) * (0.4 + 1.2 * uniform());
            const auto index = static_cast<int>(forward.size());
            const auto n = static_cast<std::uint16_t>(level);
            Reading there;
            there.a = a;
            there.b = a + 5;
            there.m = m;
            there.n = m + 5;
            there.level = n;
            Reading back = there; // the dipoles swapped
            std::swap(back.a, back.m);
            std::swap(back.b, back.n);
            there.r = static_cast<float>(r + e / 2);
            back.r = static_cast<float>(r - e / 2);
            for (Reading *x : {&there, &back}) {
                x->ro = static_cast<float>(x->r * k);
                x->stdev = static_cast<float>(0.5 + uniform());
                for (int t = 1; t <= 6; ++t)
                    x->decay.push_back(static_cast<float>(20 / std::sqrt(t) *
                                                          (1 + 0.03 * std::sin(1.7 * t + index))));
            }
            forward.push_back(there);
            reciprocal.push_back(back);
        }
    forward[9].stdev = 12;
    forward[22].decay = {8, 11, 7, 6, 5, 4};
    for (float &v : forward[37].decay)
        v *= 5;
    forward.insert(forward.end(), reciprocal.begin(), reciprocal.end());
    return forward;
}

inline tvd::Database database(const std::vector<Reading> &list) {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("VIREL", 16).at(112))
        .add(tvd::survey_header("Client", "Grid", 2024, 0x03, 0x07))
        .add(tvd::ipi(0, 3, 3))
        .add(tvd::array(0x00))
        .add(tvd::profile_header(100, 0, 900));
    for (const Reading &x : list) {
        tvd::Record record(0x0100);
        record.f32(x.m).f32(0).f32(0).u16(0).u16(x.level);
        record.f32(x.n - x.m).f32(x.a - x.m).f32(x.b - x.m).u16(250).u16(0);
        record.f32(x.r).f32(1).f32(x.ro).f32(x.stdev);
        for (float v : x.decay)
            record.f32(v);
        db.add(record);
    }
    return db;
}

} // namespace qc_profile
