#pragma once

namespace lumetra::translate {

// A light's intensity at distance d is divided by quadratic d^2 + linear d + constant.
struct FadeCoefficients {
  double quadratic;
  double linear;
  double constant;
};

// The host fades a light by a distance D and a power P: a power below 0.5 (or no
// distance) does not fade, a power below 1.5 fades linearly, a higher one with the
// square of the distance; at distance D the light keeps its full intensity.
FadeCoefficients FadeOf(double distance, double power);

}  // namespace lumetra::translate
