// A KX-4 gravity survey: file header, per survey a survey header and the meter's setup, then
// profiles of readings with their raw samples, and the erased memory after the end marker.
#include "noise.h"
#include "raw_records.h"
#include "samples.h"

#include <cmath>

namespace ravelin::sample {

namespace {

using test::RawBuilder;

constexpr std::int32_t kMillisecondsPerReading = 90000;

test::Kx4Data reading(Noise &noise, int survey, int line, int station, std::int32_t time_ms,
                      int samples) {
    test::Kx4Data r;
    r.y = 100.0f * static_cast<float>(line + 1);
    r.x = 25.0f * static_cast<float>(station);
    r.line_id = r.y;
    r.altitude = static_cast<float>(350.0 + 4.0 * std::sin(station * 0.3) + noise.next());
    r.gravity =
        static_cast<float>(3912.0 + 0.8 * std::sin(station * 0.21 + line) + 0.01 * noise.next());
    r.standard_dev = static_cast<float>(0.012 + 0.004 * noise.next());
    r.tilt_x = static_cast<std::int16_t>(10 * noise.next());
    r.tilt_y = static_cast<std::int16_t>(10 * noise.next());
    r.temperature = static_cast<std::int16_t>(2146 + 20 * noise.next());
    r.tide = static_cast<std::int16_t>(80 * std::sin(time_ms / 22000000.0));
    r.duration = 60;
    r.rejected = static_cast<std::uint16_t>(samples / 90);
    r.terrain_corr = static_cast<float>(0.1 + 0.05 * noise.next());
    r.time_ms = time_ms;
    r.day = 5 + survey;
    r.month = 11;
    r.year = 2006;
    r.line_direction = 0;
    r.samples.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        r.samples.push_back(static_cast<std::int32_t>(3912456 + 900 * noise.next()));
    return r;
}

} // namespace

std::vector<std::uint8_t> build_kx4(const Kx4Shape &shape) {
    Noise noise(0x9E3779B97F4A7C15ull);
    RawBuilder raw;
    add(raw, test::FileHeader{});
    for (int survey = 0; survey < shape.surveys; ++survey) {
        add(raw, test::SurveyHeader{.survey_name = "Block " + std::to_string(7 + survey),
                                    .day = 5 + survey,
                                    .flags = 0});
        add(raw, test::Kx4Parameter{.day = 5 + survey});
        std::int32_t time_ms = 28800000; // the day's first reading at 08:00
        for (int line = 0; line < shape.lines_per_survey; ++line) {
            const bool empty = shape.empty_line_every > 0 &&
                               line % shape.empty_line_every == shape.empty_line_every - 1;
            add(raw, test::ProfileHeader{
                         .line_pos = 100.0f * static_cast<float>(line + 1),
                         .station_num = static_cast<std::uint16_t>(shape.readings_per_line),
                         .first_data = empty ? 0xFFFFFFFFu : 0u,
                         .next_prof = line + 1 == shape.lines_per_survey ? 0xFFFFFFFFu : 0u});
            if (empty) continue;
            for (int station = 0; station < shape.readings_per_line; ++station) {
                add(raw, reading(noise, survey, line, station, time_ms, shape.samples_per_reading));
                time_ms = (time_ms + kMillisecondsPerReading) % 86400000;
            }
        }
    }
    raw.end_marker();
    if (raw.size() < shape.memory_size) raw.fill(shape.memory_size - raw.size(), 0xFF);
    return raw.bytes();
}

} // namespace ravelin::sample
