#include "samples.h"

#include <array>

namespace ravelin::sample {

namespace {

std::vector<std::uint8_t> kx4_sample() {
    return build_kx4(Kx4Shape{});
}

// The VIREL sample (IP profiles, a sounding, a bore hole) joins this table as
// {"virel", virel_sample} once its records are decoded.
constexpr std::array kSampleKinds{
    SampleKind{"kx4", kx4_sample},
};

} // namespace

std::span<const SampleKind> sample_kinds() {
    return kSampleKinds;
}

} // namespace ravelin::sample
