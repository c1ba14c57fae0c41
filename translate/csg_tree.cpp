#include "translate/csg_tree.h"

#include <vector>

namespace lumetra::translate {
namespace {

L2Primitive JoinLeaves(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> leaves) {
  if (leaves.size() == 1) return leaves.front();
  const std::size_t half = leaves.size() / 2;
  const L2Primitive left = JoinLeaves(scene, operation, leaves.first(half));
  if (left == 0) return 0;
  const L2Primitive right = JoinLeaves(scene, operation, leaves.subspan(half));
  if (right == 0) return 0;
  return CreateCSG(scene, operation, left, right);
}

// The primitives' leaves in order; empty when one of them cannot be made.
std::vector<L2Primitive> LeavesOf(L2Scene scene, std::span<const L2Primitive> primitives) {
  std::vector<L2Primitive> leaves;
  leaves.reserve(primitives.size());
  for (const L2Primitive primitive : primitives) {
    const L2Primitive leaf = CreateCSGPrim(scene, primitive);
    if (leaf == 0) return {};
    leaves.push_back(leaf);
  }
  return leaves;
}

}  // namespace

L2Primitive JoinBalanced(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> primitives) {
  const std::vector<L2Primitive> leaves = LeavesOf(scene, primitives);
  return leaves.empty() ? 0 : JoinLeaves(scene, operation, leaves);
}

L2Primitive JoinFromLeft(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> primitives) {
  const std::vector<L2Primitive> leaves = LeavesOf(scene, primitives);
  if (leaves.empty()) return 0;
  L2Primitive joined = leaves.front();
  for (std::size_t i = 1; i < leaves.size() && joined != 0; ++i)
    joined = CreateCSG(scene, operation, joined, leaves[i]);
  return joined;
}

}  // namespace lumetra::translate
