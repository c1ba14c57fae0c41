#include "translate/light_fading.h"

namespace lumetra::translate {

FadeCoefficients FadeOf(double distance, double power) {
  constexpr double kShortestFade = 0.00001;
  if (power < 0.5 || !(distance > kShortestFade)) return {0, 0, 1};
  if (power < 1.5) return {0, 0.5 / distance, 0.5};
  return {0.5 / (distance * distance), 0, 0.5};
}

}  // namespace lumetra::translate
