// The small numeric helpers the ray queries lean on.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

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

}  // namespace
}  // namespace lumetra::renderlib
