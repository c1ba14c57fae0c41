#include "translate/csg_tree.h"

#include <gtest/gtest.h>

#include "renderlib/testing/render_call_recorder.h"

namespace lumetra::translate {
namespace {

using renderlib::testing::RenderCallRecorder;

constexpr L2Scene kScene = 7;

// Primitives 101.. become leaves 1.., so leaf(10k) is the k-th primitive.
std::string TreeOf(int count, std::int32_t operation = L2_CSG_UNION) {
  RenderCallRecorder recorder;
  std::vector<L2Primitive> primitives;
  for (int i = 1; i <= count; ++i) primitives.push_back(100 + i);
  const L2Primitive root = JoinBalanced(kScene, operation, primitives);
  for (const auto& call : recorder.Calls()) EXPECT_EQ(call.arguments.at(0), kScene) << call.name;
  return root == 0 ? "none" : recorder.CsgTree(root);
}

TEST(CsgTree, SplitsEveryRangeIntoItsFirstHalfAndTheRest) {
  EXPECT_EQ(TreeOf(0), "none");
  EXPECT_EQ(TreeOf(1), "leaf(101)");
  EXPECT_EQ(TreeOf(2), "(1 leaf(101) leaf(102))");
  EXPECT_EQ(TreeOf(3), "(1 leaf(101) (1 leaf(102) leaf(103)))");
  EXPECT_EQ(TreeOf(5), "(1 (1 leaf(101) leaf(102)) (1 leaf(103) (1 leaf(104) leaf(105))))");
  EXPECT_EQ(TreeOf(3, L2_CSG_MERGE), "(4 leaf(101) (4 leaf(102) leaf(103)))");
}

TEST(CsgTree, MakesAllLeavesInOrderBeforeJoiningThem) {
  RenderCallRecorder recorder;
  const std::vector<L2Primitive> primitives{31, 32, 33, 34};
  const L2Primitive root = JoinBalanced(kScene, L2_CSG_UNION, primitives);
  const auto calls = recorder.Calls();
  ASSERT_EQ(calls.size(), 7u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i].name, "CreateCSGPrim");
    EXPECT_EQ(calls[i].arguments.at(1), primitives[i]);
  }
  EXPECT_EQ(calls[6].name, "CreateCSG");
  EXPECT_EQ(root, calls[6].result);
}

TEST(CsgTree, ARefusedCallGivesNoTree) {
  for (const char* entry : {"CreateCSGPrim", "CreateCSG"}) {
    RenderCallRecorder recorder;
    recorder.FailNext(entry);
    const std::vector<L2Primitive> primitives{1, 2, 3};
    EXPECT_EQ(JoinBalanced(kScene, L2_CSG_UNION, primitives), 0u) << entry;
  }
}

}  // namespace
}  // namespace lumetra::translate
