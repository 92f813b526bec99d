// Realistic raw databases built in code, for the sample tool, the benchmark and tests.
#pragma once

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

// One named kind of sample database for `ravelin-sample --kind NAME`.
struct SampleKind {
    std::string_view name;
    std::vector<std::uint8_t> (*build)();
};

// Every kind the sample tool offers; the first is the default. VIREL databases are added here
// (see samples.cpp) once their records are decoded.
std::span<const SampleKind> sample_kinds();

} // namespace ravelin::sample
