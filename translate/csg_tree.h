#pragma once

#include <cstdint>
#include <span>

#include <lumetra2.h>

namespace lumetra::translate {

// Makes each primitive a CSG leaf, in order, and joins the leaves into a
// balanced tree: a range of n leaves splits into the first n / 2 and the
// rest, each half built the same way, and the halves are joined by
// operation. One primitive gives its leaf alone. Returns 0 when there is no
// primitive or the render library refused a call.
L2Primitive JoinBalanced(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> primitives);

// Makes each primitive a CSG leaf, in order, and joins them from the left:
// ((first op second) op third) ..., as a difference takes every later
// primitive away from the first. One primitive gives its leaf alone; 0 as above.
L2Primitive JoinFromLeft(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> primitives);

}  // namespace lumetra::translate
