#include "translate/csg_tree.h"

#include <vector>

namespace translate {
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

}  // namespace

L2Primitive JoinBalanced(L2Scene scene, std::int32_t operation, std::span<const L2Primitive> primitives) {
  if (primitives.empty()) return 0;
  std::vector<L2Primitive> leaves;
  leaves.reserve(primitives.size());
  for (const L2Primitive primitive : primitives) {
    const L2Primitive leaf = CreateCSGPrim(scene, primitive);
    if (leaf == 0) return 0;
    leaves.push_back(leaf);
  }
  return JoinLeaves(scene, operation, leaves);
}

}  // namespace translate
