#include "virel_database.h"

#include "bore_hole_records.h"
#include "raw_records.h"

#include <cmath>
#include <string>

namespace ravelin::bench {

namespace {

using test::RawBuilder;

constexpr std::uint16_t kArrayCodes[] = {0x00, 0x08, 0x0C, 0x10, 0x11, 0x40};
constexpr float kSpacing = 10.0f;

class Noise {
  public:
    double next() { // uniform in [-1, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
    }

  private:
    std::uint64_t state_ = 0x2545F4914F6CDD1Dull;
};

test::FileHeader virel_file_header() {
    test::FileHeader header;
    header.instrument_name = "VIREL";
    return header;
}

std::size_t standard_reading_size(const VirelShape &shape) {
    return 52 + 4 * static_cast<std::size_t>(shape.m_channels);
}

void ipi(RawBuilder &raw, const VirelShape &shape) {
    const auto on = static_cast<std::uint16_t>(shape.m_channels / 3);
    const auto off = static_cast<std::uint16_t>(shape.m_channels - on);
    raw.record(0x3100).u16(0).u8(1).u8(4).i32(2000).i32(2000).u16(on).u16(off);
    for (int w = 0; w < 2 * shape.m_channels; ++w)
        raw.u32(static_cast<std::uint32_t>(40 + 80 * w));
}

void array_record(RawBuilder &raw, std::uint16_t code) {
    raw.record(0x4100).u16(code).u16(0).f32(kSpacing);
}

// One standard reading: transmitter dipole at X, receiver n spacings away.
void standard_reading(RawBuilder &raw, Noise &noise, const VirelShape &shape, float x, int n) {
    const float rho = static_cast<float>(120.0 + 40.0 * std::sin(x * 0.01) + 5.0 * noise.next());
    raw.record(0x0100)
        .f32(x)
        .f32(static_cast<float>(500.0 + noise.next()))
        .f32(static_cast<float>(350.0 + 2.0 * noise.next()))
        .u16(0)
        .u16(static_cast<std::uint16_t>(n))
        .f32(kSpacing * static_cast<float>(n))
        .f32(kSpacing)
        .f32(-kSpacing * static_cast<float>(n + 1))
        .u16(static_cast<std::uint16_t>(1200 + 100 * noise.next()))
        .i16(static_cast<std::int16_t>(-35 + 10 * noise.next()))
        .f32(static_cast<float>(48.0 / (n * n) + noise.next()))
        .f32(static_cast<float>(1.5 + 0.1 * noise.next()))
        .f32(rho)
        .f32(static_cast<float>(0.4 + 0.1 * noise.next()));
    for (int k = 0; k < shape.m_channels; ++k)
        raw.f32(static_cast<float>(12.0 * std::exp(-0.3 * k) + 0.2 * noise.next()));
}

void sounding(RawBuilder &raw, Noise &noise, const VirelShape &shape, int index) {
    raw.record(0x1100)
        .u16(index % 2 == 0 ? 0x10 : 0x00)
        .u16(900)
        .f64(-1250.5 + 100.0 * index)
        .f64(4520.25)
        .f32(351.5f)
        .text("VES" + std::to_string(index), 8)
        .u32(0)
        .u32(0)
        .u32(0);
    for (int r = 0; r < shape.readings_per_sounding; ++r)
        standard_reading(raw, noise, shape, 0.0f, r % 6 + 1);
}

int bore_hole(RawBuilder &raw, Noise &noise, const VirelShape &shape, int index) {
    add(raw, test::BoreHoleHeader{.name = "BH" + std::to_string(index)});
    for (int r = 0; r < shape.readings_per_bore_hole; ++r) {
        const float depth = 2.0f + 0.5f * static_cast<float>(r);
        switch (r * 5 / shape.readings_per_bore_hole) {
        case 0:
        case 1:
        case 2:
            add(raw, test::BoreHoleResistivity{
                         .array = static_cast<std::uint16_t>(r * 5 / shape.readings_per_bore_hole),
                         .depth = depth,
                         .resistivity = static_cast<float>(80.0 + 20.0 * noise.next())});
            break;
        case 3:
            add(raw,
                test::BoreHoleFluid{.depth = depth, .temp = static_cast<float>(12.0 + 0.02 * r)});
            break;
        default:
            add(raw, test::BoreHoleSp{.depth = depth,
                                      .sp = static_cast<std::int16_t>(-40 + 20 * noise.next())});
        }
    }
    return shape.readings_per_bore_hole;
}

// Bytes of everything but the profile readings, measured by building it once.
std::size_t fixed_part_size(const VirelShape &shape) {
    RawBuilder raw;
    Noise noise;
    add(raw, virel_file_header());
    for (int s = 0; s < shape.surveys; ++s) {
        add(raw, test::SurveyHeader{});
        ipi(raw, shape);
        for (int p = 0; p < shape.profiles_per_survey; ++p) {
            array_record(raw, 0);
            add(raw, test::ProfileHeader{});
        }
        for (int i = 0; i < shape.soundings_per_survey; ++i)
            sounding(raw, noise, shape, i);
        for (int i = 0; i < shape.bore_holes_per_survey; ++i)
            bore_hole(raw, noise, shape, i);
    }
    raw.end_marker();
    return raw.size();
}

} // namespace

VirelDatabase build_virel(const VirelShape &shape) {
    const int profiles = shape.surveys * shape.profiles_per_survey;
    int readings_per_profile = 40;
    if (shape.memory_size > 0 && profiles > 0) {
        const std::size_t fixed = fixed_part_size(shape);
        const std::size_t target = shape.memory_size * 99 / 100;
        if (target > fixed)
            readings_per_profile =
                static_cast<int>((target - fixed) / standard_reading_size(shape) /
                                 static_cast<std::size_t>(profiles));
    }

    VirelDatabase db;
    Noise noise;
    RawBuilder raw;
    add(raw, virel_file_header());
    for (int s = 0; s < shape.surveys; ++s) {
        add(raw, test::SurveyHeader{.survey_name = "Grid " + std::to_string(s + 1), .day = 5 + s});
        ipi(raw, shape);
        for (int p = 0; p < shape.profiles_per_survey; ++p) {
            array_record(raw, kArrayCodes[p % std::size(kArrayCodes)]);
            add(raw, test::ProfileHeader{.line_pos = 100.0f * static_cast<float>(p + 1),
                                         .next_prof = 0});
            for (int r = 0; r < readings_per_profile; ++r) {
                const int n = r % 6 + 1;
                standard_reading(raw, noise, shape, kSpacing * static_cast<float>(r / 6), n);
            }
            db.ip_readings += readings_per_profile;
        }
        for (int i = 0; i < shape.soundings_per_survey; ++i) {
            sounding(raw, noise, shape, i);
            db.ip_readings += shape.readings_per_sounding;
        }
        for (int i = 0; i < shape.bore_holes_per_survey; ++i)
            db.bore_hole_readings += bore_hole(raw, noise, shape, i);
    }
    raw.end_marker();
    if (raw.size() < shape.memory_size) raw.fill(shape.memory_size - raw.size(), 0xFF);
    db.bytes = raw.bytes();
    return db;
}

} // namespace ravelin::bench
