#pragma once

namespace lumetra::math {

// Red, green, blue, filter (coloured transparency) and transmit (plain transparency).
struct Colour {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float filter = 0.0f;
  float transmit = 0.0f;

  friend bool operator==(const Colour&, const Colour&) = default;
};

// Each component (1 - t) * a + t * b.
inline Colour BlendColours(const Colour& a, const Colour& b, float t) {
  const auto mix = [t](float x, float y) { return (1.0f - t) * x + t * y; };
  return {mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue), mix(a.filter, b.filter),
          mix(a.transmit, b.transmit)};
}

}  // namespace lumetra::math
