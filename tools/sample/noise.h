// Small deterministic generator for the sample builders: the same seed always gives the same
// sequence, so the same shape always gives the same bytes.
#pragma once

#include <cstdint>

namespace ravelin::sample {

class Noise {
  public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}

    double next() { // uniform in [-1, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
    }

  private:
    std::uint64_t state_;
};

} // namespace ravelin::sample
