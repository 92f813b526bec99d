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

constexpr std::array kSampleKinds{
    SampleKind{"kx4", kx4_sample},
    SampleKind{"virel", virel_sample},
};

} // namespace

std::span<const SampleKind> sample_kinds() {
    return kSampleKinds;
}

} // namespace ravelin::sample
