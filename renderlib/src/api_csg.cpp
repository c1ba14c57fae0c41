// CSG entries: leaves and nodes.
#include "api_support.h"
#include "csg.h"

using namespace lumetra::renderlib;

extern "C" {

L2Primitive CreateCSGPrim(L2Scene scene, L2Primitive prim) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    Primitive* operand = s.primitive(prim);
    if (!operand) return refuseHandle("primitive", prim);
    const uint32_t leaf = addShape(s, std::make_shared<PlacedShape>(*operand));
    operand->is_operand = true;
    return leaf;
  });
}

L2Primitive CreateCSG(L2Scene scene, int32_t operation, L2Primitive left, L2Primitive right) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    Primitive* left_operand = s.primitive(left);
    Primitive* right_operand = s.primitive(right);
    if (!left_operand) return refuseHandle("primitive", left);
    if (!right_operand) return refuseHandle("primitive", right);
    if (operation < L2_CSG_UNION || operation > L2_CSG_MERGE) {
      return refuse("unknown CSG operation %d", int(operation));
    }
    const uint32_t node = addShape(s, std::make_shared<CsgNode>(operation, *left_operand, *right_operand));
    left_operand->is_operand = true;
    right_operand->is_operand = true;
    return node;
  });
}

}  // extern "C"
