// Realistic raw databases built in code, for the sample tool, the benchmark and tests.
#pragma once

#include "array_codes.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ravelin::sample {

// The shape of a KX-4 gravity database: surveys of profiles of readings.
struct Kx4Shape {
    int surveys = 1;
    int lines_per_survey = 3;
    int readings_per_line = 8;
    int samples_per_reading = 16; // raw samples, a multiple of 4; 0: readings without samples
    int empty_line_every = 3;     // every n-th profile header of a survey is empty; 0: never
    std::size_t memory_size = 0;  // pad with erased bytes (0xFF) up to this size; 0: no padding
};

std::vector<std::uint8_t> build_kx4(const Kx4Shape &shape);

// The shape of a VIREL resistivity/IP database: surveys of profiles (one array each, in turn
// from `arrays`) with readings at every station and dipole number, then a sounding and a bore
// hole per survey.
struct VirelShape {
    int surveys = 1;
    int profiles_per_survey = 3;
    int stations = 10;
    int levels = 4;       // dipole numbers 1 to levels at every station
    int window_count = 6; // M channels per reading
    std::uint16_t operating_mode = 0;
    std::vector<std::uint16_t> arrays = {
        array_code::kDipoleDipole,        array_code::kWenner,          array_code::kPolePole,
        array_code::kPoleDipole,          array_code::kSchlumberger,    array_code::kGradient,
        array_code::kLateralDipoleDipole, array_code::kLateralPolePole, array_code::kOffsetWenner};
    int user_readings_per_profile = 1; // readings with free electrode positions closing a line
    bool soundings = true;
    bool bore_holes = true;
    int bore_hole_steps = 5;     // depths logged per array and log kind
    std::size_t memory_size = 0; // pad with erased bytes (0xFF) up to this size; 0: no padding
};

std::vector<std::uint8_t> build_virel(const VirelShape &shape);

// The largest instrument memory: 12.5 MB.
inline constexpr std::size_t kFullMemorySize = 12 * 1024 * 1024 + 512 * 1024;

// A full VIREL memory: ten surveys of thirty profiles (every array in turn), readings at six
// dipole numbers per station with six M channels, a sounding and a bore hole per survey, and as
// many stations as fill 99 % of the memory.
VirelShape full_memory_virel_shape();

// A full memory that mixes every record family as field memory does: VIREL profiles, soundings
// and bore holes (about 43 000 standard, 38 000 user and 46 000 bore hole readings), then KX-4
// surveys (about 51 000 readings, a third of them with raw samples).
std::vector<std::uint8_t> build_mixed();

// One named kind of sample database for `ravelin-sample --kind NAME`.
struct SampleKind {
    std::string_view name;
    std::vector<std::uint8_t> (*build)();
};

// Every kind the sample tool offers ("kx4", "virel"); the first is the default.
std::span<const SampleKind> sample_kinds();

} // namespace ravelin::sample
