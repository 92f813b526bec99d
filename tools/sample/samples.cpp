#include "samples.h"

#include <array>

namespace ravelin::sample {

namespace {

std::vector<std::uint8_t> kx4_sample() {
    return build_kx4(Kx4Shape{});
}

std::vector<std::uint8_t> virel_sample() {
    return build_virel(VirelShape{});
}

// A built database without its end marker, so another can follow it in the same memory.
void append_part(std::vector<std::uint8_t> &memory, const std::vector<std::uint8_t> &part) {
    memory.insert(memory.end(), part.begin(), part.end() - 2);
}

constexpr std::array kSampleKinds{
    SampleKind{"kx4", kx4_sample},
    SampleKind{"virel", virel_sample},
    SampleKind{"mixed", build_mixed},
};

} // namespace

std::vector<std::uint8_t> build_mixed() {
    std::vector<std::uint8_t> memory;
    append_part(memory, build_virel({.surveys = 40,
                                     .profiles_per_survey = 10,
                                     .stations = 18,
                                     .levels = 6,
                                     .user_readings_per_profile = 95,
                                     .bore_hole_steps = 230}));
    append_part(memory, build_kx4({.surveys = 10,
                                   .lines_per_survey = 30,
                                   .readings_per_line = 170,
                                   .samples_per_reading = 0}));
    const auto last = build_kx4(
        {.surveys = 5, .lines_per_survey = 30, .readings_per_line = 85, .samples_per_reading = 16});
    memory.insert(memory.end(), last.begin(), last.end()); // ends with the end marker
    return memory;
}

std::span<const SampleKind> sample_kinds() {
    return kSampleKinds;
}

} // namespace ravelin::sample
