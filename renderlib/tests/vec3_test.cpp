// The small numeric helpers the ray queries lean on.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "power.h"
#include "vec3.h"

namespace lumetra::renderlib {
namespace {

template <typename Real>
void expectNextUpMatchesTheLibrary() {
  using Limits = std::numeric_limits<Real>;
  using Bits = std::conditional_t<sizeof(Real) == 4, uint32_t, uint64_t>;
  const Real infinity = Limits::infinity();
  for (const Real value :
       {Real(0), -Real(0), Limits::denorm_min(), -Limits::denorm_min(), Limits::min(), Real(1), Real(-1),
        Real(0.1), Real(-2.5e-30), Real(3e38), Limits::max(), -Limits::max(), infinity, -infinity}) {
    const Real expected = std::nextafter(value, infinity);
    const Real got = nextUp(value);
    // Bit for bit: zero's sign and the step into infinity count.
    EXPECT_EQ(std::bit_cast<Bits>(got), std::bit_cast<Bits>(expected)) << value;
  }
  EXPECT_TRUE(std::isnan(nextUp(Limits::quiet_NaN())));
}

TEST(NextUp, StepsAsStdNextafterTowardsInfinity) {
  expectNextUpMatchesTheLibrary<float>();
  expectNextUpMatchesTheLibrary<double>();
}

TEST(Power, WholeExponentsStayWithinTheirOwnCountOfUnitsInTheLastPlaceOfPow) {
  for (const double base : {0.0, 1e-3, 0.31, 0.5, 0.999, 1.0, 1.7, 3.0}) {
    EXPECT_EQ(power(base, 1), base);
    EXPECT_EQ(power(base, 2), base * base);
    for (int exponent = 1; exponent <= 64; ++exponent) {
      const double expected = std::pow(base, exponent);
      EXPECT_NEAR(power(base, exponent), expected,
                  exponent * std::numeric_limits<double>::epsilon() * expected)
          << base << "^" << exponent;
    }
  }
}

TEST(Power, OtherExponentsAreAnsweredByPow) {
  for (const double exponent : {0.0, 0.4, 1.5, 2.5, 64.5, 65.0, 1e6, -2.0}) {
    EXPECT_EQ(power(0.7, exponent), std::pow(0.7, exponent)) << exponent;
  }
  EXPECT_TRUE(std::isnan(power(0.7, std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(power(0.7, std::numeric_limits<double>::infinity()), 0.0);
}

}  // namespace
}  // namespace lumetra::renderlib
