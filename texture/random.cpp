#include "texture/random.h"

namespace lumetra::texture {
namespace {

thread_local std::uint32_t threadSeed = 1;

}  // namespace

void Seed(std::uint32_t seed) { threadSeed = seed; }

std::int32_t Rand() {
  threadSeed = threadSeed * 214013u + 2531011u;
  return static_cast<std::int32_t>((threadSeed >> 16) & 0x7FFFu);
}

double RandUnit() { return Rand() * kRandScale; }

}  // namespace lumetra::texture
