// The same translation compiled as C++20, plus the exact entry types that only C++ can
// compare: a callback typedef that drifted from its entry would still convert in C.
#include "lumetra2_header_test.c"

#include <type_traits>

static_assert(std::is_same_v<decltype(&ShadePoint), L2ShadePointFunction>);
static_assert(std::is_same_v<decltype(&ModifySweepVertices), decltype(&ModifyLatheVertices)>);
static_assert(std::is_same_v<decltype(&CreateHeight8), decltype(&CreateSphericalHeight8)> &&
              std::is_same_v<decltype(&CreateHeight16), decltype(&CreateSphericalHeight16)>);
static_assert(std::is_trivially_copyable_v<SurfaceSample> && std::is_standard_layout_v<L2ShadingRecord>);
