// Deterministic random numbers for one image sample: seeded from the sample's position,
// so every thread count draws the same numbers for the same pixel.
#pragma once

#include <cstdint>
#include <cstring>

namespace lumetra::renderlib {

class SampleRandom {
 public:
  SampleRandom(double x, double y) : state_(mix(bits(x) ^ mix(bits(y) + 0x9E3779B97F4A7C15ull))) {}
  // Uniform in [0, 1).
  double next() {
    state_ += 0x9E3779B97F4A7C15ull;
    return double(mix(state_) >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  static uint64_t bits(double value) {
    uint64_t out;
    std::memcpy(&out, &value, sizeof out);
    return out;
  }
  static uint64_t mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t state_;
};

}  // namespace lumetra::renderlib
