// A VIREL resistivity/IP survey: file header, per survey a survey header and the receiver's IP
// setup, then profiles of standard-array readings (an Array record before each), a sounding and a
// bore hole, and the erased memory after the end marker.
//
// Electrode distances are multiples of the profile's spacing and positions lie on exact binary
// fractions, so every pseudo-section index is an exact quotient: no index depends on how the
// reader rounds it.
#include "ip_raw_records.h"
#include "noise.h"
#include "raw_records.h"
#include "samples.h"

#include "array_codes.h"
#include "record_layout.h"

#include <array>
#include <cmath>

namespace ravelin::sample {

namespace {

using test::RawBuilder;

constexpr std::array<float, 5> kSpacings{10.0f, 5.0f, 2.5f, 7.5f, 20.0f};
constexpr float kFirstStation = -150.25f;

// Electrode distances of a reading at dipole number n on a profile of spacing a.
struct Distances {
    float dn, da, db;
};

Distances distances(std::uint16_t array_code, int n, float a) {
    const float na = static_cast<float>(n) * a;
    switch (array_code) {
    case array_code::kPoleDipole:
        return {na, -a, -na - a};
    case array_code::kPolePole: // the only distance is dA
        return {a, -na, 0.0f};
    case array_code::kSchlumberger: // fixed MN, growing AB
        return {a, -na, na};
    case array_code::kWenner:
        return {na, -na, 2.0f * na};
    case array_code::kLateralDipoleDipole: // lateral arrays: spaced along dA
    case array_code::kLateralPolePole:
        return {a, -na, -na - a};
    case array_code::kGradient: // fixed current electrodes far out
        return {a, -10.0f * a, 10.0f * a};
    default: // dipole-dipole and offset Wenner
        return {na, -a, -na - a};
    }
}

test::IprStandard reading(Noise &noise, const VirelShape &shape, std::uint16_t array_code, float x,
                          int n, float a) {
    const Distances d = distances(array_code, n, a);
    test::IprStandard r;
    r.x = x;
    r.y = static_cast<float>(0.25 * std::round(4.0 * noise.next()));
    r.z = static_cast<float>(350.0 + 2.0 * noise.next());
    r.n = static_cast<std::uint16_t>(n);
    r.dn = d.dn;
    r.da = d.da;
    r.db = d.db;
    r.res_con = static_cast<std::uint16_t>(200 + 150 * noise.next());
    r.sp = static_cast<std::int16_t>(40 * noise.next());
    r.vp = static_cast<float>(180.0 / n + 20.0 * noise.next());
    r.itx = static_cast<float>(0.5 + 0.1 * noise.next());
    r.ro = static_cast<float>(120.0 + 60.0 * std::sin(x * 0.05) + 10.0 * noise.next());
    if (noise.next() > 0.9) r.ro = -r.ro; // a reversed potential dipole
    r.stdev = static_cast<float>(0.5 + 0.4 * noise.next());
    r.m_channels.clear();
    for (int k = 0; k < shape.window_count; ++k)
        r.m_channels.push_back(static_cast<float>((12.0 - k) * (1.0 + 0.1 * noise.next())));
    return r;
}

void add_profile(RawBuilder &raw, Noise &noise, const VirelShape &shape, int survey, int line) {
    const std::uint16_t array_code =
        shape.arrays[static_cast<std::size_t>(survey + line) % shape.arrays.size()];
    const float a = kSpacings[static_cast<std::size_t>(line) % kSpacings.size()];
    add(raw, test::ArrayRecord{.array_code = array_code, .base_spacing = a});
    if (line % 2 == 1) add(raw, test::Note{.note_code = 0x10, .text = "flagged station, re-read"});
    add(raw, test::ProfileHeader{.line_pos = -200.0f + 137.5f * static_cast<float>(line),
                                 .line_coord = static_cast<std::uint16_t>(line % 2 ? 0 : 2),
                                 .azimuth = static_cast<std::uint16_t>(450 + 900 * (line % 3)),
                                 .station_num = static_cast<std::uint16_t>(shape.stations)});
    for (int station = 0; station < shape.stations; ++station) {
        const float x = kFirstStation + static_cast<float>(station) * a;
        for (int n = 1; n <= shape.levels; ++n)
            add(raw, reading(noise, shape, array_code, x, n, a));
    }
    // Readings with free electrode positions close the line.
    test::IprUser user;
    user.m_channels.assign(static_cast<std::size_t>(shape.window_count), 3.5f);
    for (int i = 0; i < shape.user_readings_per_profile; ++i)
        add(raw, user);
}

void add_sounding(RawBuilder &raw, Noise &noise, const VirelShape &shape, int survey) {
    add(raw, test::SoundingHeader{.array = array_code::kSchlumberger,
                                  .azimuth = 1350,
                                  .easting = 512340.5 + 100.0 * survey,
                                  .northing = -5034120.25,
                                  .sound_name = "VES-" + std::to_string(survey + 1)});
    for (int step = 1; step <= 8; ++step) {
        test::IprStandard r = reading(noise, shape, array_code::kSchlumberger, 0.0f, step, 1.5f);
        r.da = -1.5f * static_cast<float>(step * step);
        r.db = -r.da;
        add(raw, r);
    }
    add(raw, test::SoundingHeader{.sound_name = "VES-X", .first_data = 0xFFFFFFFFu});
}

void add_bore_hole(RawBuilder &raw, Noise &noise, int survey, int steps) {
    raw.record(record_id::kBoreHoleHeader)
        .u16(900)
        .u16(450)
        .f64(512400.0 + survey)
        .f64(5034200.0)
        .f32(351.0f)
        .text("BH-" + std::to_string(survey + 1), 8)
        .u32(0)
        .u32(0)
        .u32(0)
        .u32(0)
        .u32(0)
        .u32(0);
    for (std::uint16_t array = 0; array < 3; ++array)
        for (int step = 1; step <= steps; ++step)
            raw.record(record_id::kBoreHoleResData)
                .u16(array)
                .i16(static_cast<std::int16_t>(30 * noise.next()))
                .f32(2.0f * static_cast<float>(step))
                .f32(static_cast<float>(80.0 + 20.0 * noise.next()))
                .u32(0)
                .u32(0);
    for (int step = 1; step <= steps; ++step)
        raw.record(record_id::kBoreHoleFluidData)
            .f32(2.0f * static_cast<float>(step))
            .f32(static_cast<float>(12.0 + noise.next()))
            .f32(static_cast<float>(9.5 + 0.2 * step))
            .u32(0)
            .u32(0);
    for (int step = 1; step <= steps; ++step)
        raw.record(record_id::kBoreHoleSpData)
            .f32(2.0f * static_cast<float>(step))
            .i16(static_cast<std::int16_t>(25 * noise.next()))
            .u16(0)
            .u32(0)
            .u32(0)
            .u32(0);
}

} // namespace

std::vector<std::uint8_t> build_virel(const VirelShape &shape) {
    Noise noise(0x2545F4914F6CDD1Dull);
    RawBuilder raw;
    test::FileHeader file_header;
    file_header.instrument_name = "VIREL";
    file_header.family_id = 0x3;
    file_header.instrument_sn = 2207;
    add(raw, file_header);
    for (int survey = 0; survey < shape.surveys; ++survey) {
        add(raw, test::SurveyHeader{.client_name = "North Ridge Mining",
                                    .survey_name = "IP Grid " + std::to_string(survey + 1),
                                    .day = 7 + survey % 20,
                                    .month = 3 + survey % 10});
        const auto windows = static_cast<std::uint16_t>(shape.window_count);
        add(raw, test::Ipi{.operating_mode = shape.operating_mode,
                           .on_win_num = static_cast<std::uint16_t>(windows / 2),
                           .off_win_num = static_cast<std::uint16_t>(windows - windows / 2)});
        for (int line = 0; line < shape.profiles_per_survey; ++line) {
            add_profile(raw, noise, shape, survey, line);
            if (line == 0)
                add(raw, test::ProfileHeader{.first_data = 0xFFFFFFFFu}); // a line left unmeasured
        }
        if (shape.soundings) add_sounding(raw, noise, shape, survey);
        if (shape.bore_holes) add_bore_hole(raw, noise, survey, shape.bore_hole_steps);
    }
    raw.end_marker();
    if (raw.size() < shape.memory_size) raw.fill(shape.memory_size - raw.size(), 0xFF);
    return raw.bytes();
}

VirelShape full_memory_virel_shape() {
    VirelShape shape;
    shape.surveys = 10;
    shape.profiles_per_survey = 30;
    shape.levels = 6;
    shape.window_count = 6;
    shape.stations = 1;
    const double one = static_cast<double>(build_virel(shape).size());
    shape.stations = 2;
    const double per_station = static_cast<double>(build_virel(shape).size()) - one;
    shape.stations = static_cast<int>((kFullMemorySize * 0.99 - one) / per_station) + 1;
    shape.memory_size = kFullMemorySize;
    return shape;
}

} // namespace ravelin::sample
