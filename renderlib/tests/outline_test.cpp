// Outlines and the shapes made from them: lathes, sweeps and glyphs.
#include <gtest/gtest.h>

#include "extrusion.h"
#include "lathe.h"
#include "lumetra2.h"

namespace lumetra::renderlib {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<OutlinePiece> outline(int kind, const std::vector<OutlinePoint>& points, bool closed) {
  const auto pieces = makeOutline(kind, points, closed);
  EXPECT_TRUE(pieces.has_value());
  return pieces.value_or(std::vector<OutlinePiece>{});
}

SurfaceHit mustHit(const Shape& shape, const Ray& ray) {
  SurfaceHit hit;
  EXPECT_TRUE(shape.intersect(ray, 0, kInf, hit));
  return hit;
}

TEST(Outline, PiecesFollowTheControlPoints) {
  EXPECT_EQ(outline(L2_SPLINE_LINEAR, {{0, 0, false}, {1, 0, true}, {1, 1, false}}, false).size(), 2u);
  const auto quadratic = outline(L2_SPLINE_QUADRATIC, {{0, 0, false}, {1, 0, true}, {1, 1, false}}, false);
  ASSERT_EQ(quadratic.size(), 1u);
  EXPECT_EQ(quadratic[0].degree, 2);
  EXPECT_NEAR(quadratic[0].xAt(0.5), 0.75, 1e-12);
  // Two controls in a row: an outline point half way, so two quadratic pieces.
  const auto implied =
      outline(L2_SPLINE_QUADRATIC, {{0, 0, false}, {1, 0, true}, {1, 2, true}, {0, 2, false}}, false);
  ASSERT_EQ(implied.size(), 2u);
  EXPECT_NEAR(implied[0].xAt(1), 1, 1e-12);
  EXPECT_NEAR(implied[0].yAt(1), 1, 1e-12);
  const auto cubic =
      outline(L2_SPLINE_CUBIC, {{0, 0, false}, {1, 0, true}, {1, 1, true}, {0, 1, false}}, false);
  ASSERT_EQ(cubic.size(), 1u);
  EXPECT_NEAR(cubic[0].xAt(0.5), 0.75, 1e-12);
  EXPECT_FALSE(makeOutline(4, {{0, 0, false}, {1, 0, false}}, false));
}

// The first point of each piece, and where the last one ends.
std::vector<std::pair<double, double>> joints(const std::vector<OutlinePiece>& pieces) {
  std::vector<std::pair<double, double>> out;
  for (const OutlinePiece& piece : pieces) out.emplace_back(piece.xAt(0), piece.yAt(0));
  if (!pieces.empty()) out.emplace_back(pieces.back().xAt(1), pieces.back().yAt(1));
  return out;
}

TEST(Outline, OpenOutlinesOfControlsAreClampedToTheirEnds) {
  // Every point a control, as outlines drawn in a modeller arrive: the curve still begins
  // at the first point and ends at the last.
  const auto quadratic = outline(L2_SPLINE_QUADRATIC, {{0, 0, true}, {1, 0, true}, {1, 1, true}}, false);
  ASSERT_EQ(quadratic.size(), 1u);
  EXPECT_EQ(joints(quadratic), (std::vector<std::pair<double, double>>{{0, 0}, {1, 1}}));
  const auto bent =
      outline(L2_SPLINE_QUADRATIC, {{0, 0, true}, {2, 0, true}, {2, 2, true}, {0, 2, true}}, false);
  EXPECT_EQ(joints(bent), (std::vector<std::pair<double, double>>{{0, 0}, {2, 1}, {0, 2}}));
  // A cubic run of three controls: a cubic piece to the point half way between the second
  // and third, then a quadratic one.
  const auto cubic = outline(L2_SPLINE_CUBIC,
                             {{0, 0, false}, {1, 0, true}, {1, 1, true}, {2, 1, true}, {0, 1, false}}, false);
  ASSERT_EQ(cubic.size(), 2u);
  EXPECT_EQ(cubic[0].degree, 3);
  EXPECT_EQ(cubic[1].degree, 2);
  EXPECT_EQ(joints(cubic), (std::vector<std::pair<double, double>>{{0, 0}, {1.5, 1}, {0, 1}}));
}

TEST(Outline, ClosedOutlinesOfControlsCloseSmoothly) {
  // Five cubic controls: two cubic pieces and a quadratic one, each beginning half way
  // between two controls, the last ending where the first begins.
  const auto pieces =
      outline(L2_SPLINE_CUBIC, {{0, 0, true}, {2, 0, true}, {2, 2, true}, {0, 2, true}, {-1, 1, true}}, true);
  ASSERT_EQ(pieces.size(), 3u);
  const auto ends = joints(pieces);
  EXPECT_EQ(ends.front(), ends.back());
  EXPECT_EQ(ends[0], (std::pair<double, double>{2, 1}));
  // An outline point first: the runs between outline points need no wrapping.
  const auto square =
      outline(L2_SPLINE_QUADRATIC, {{1, 0, true}, {1, 1, true}, {0, 1, false}, {0, 0, true}}, true);
  EXPECT_EQ(joints(square), (std::vector<std::pair<double, double>>{{0, 1}, {0.5, 0}, {1, 0.5}, {0, 1}}));
}

TEST(Lathe, StraightOutlineTurnsIntoACylinder) {
  const Lathe lathe(outline(L2_SPLINE_LINEAR, {{1, 0, false}, {1, 2, false}}, false));
  SurfaceHit hit = mustHit(lathe, {{-5, 1, 0}, {1, 0, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-9);
  EXPECT_NEAR(normalized(hit.normal).x, -1, 1e-9);
  EXPECT_NEAR(hit.v, 0.5, 1e-9);
  hit = mustHit(lathe, {{0, 1.5, -5}, {0, -0.1, 1}});
  EXPECT_NEAR(hit.t, 4, 1e-9);
  SurfaceHit miss;
  EXPECT_FALSE(lathe.intersect({{-5, 2.5, 0}, {1, 0, 0}}, 0, kInf, miss));
}

TEST(Lathe, QuadraticBulgeMetOnItsEquator) {
  // x(s) = 4 s (1 - s), y(s) = 2 s: widest (radius 1) at y = 1.
  const Lathe lathe(outline(L2_SPLINE_QUADRATIC, {{0, 0, false}, {2, 1, true}, {0, 2, false}}, false));
  SurfaceHit hit = mustHit(lathe, {{-5, 1, 0}, {1, 0, 0}});  // a level ray
  EXPECT_NEAR(hit.t, 4, 1e-9);
  const Vec3 direction = normalized(Vec3{1, 0.2, 0});
  hit = mustHit(lathe, {Vec3{-1, 1, 0} - direction * 5, direction});  // touching the equator
  EXPECT_NEAR(hit.t, 5, 1e-6);
  // Lower down, radius 4 s (1 - s) at height 2 s: s = 1/4 gives radius 3/4 at y = 1/2.
  hit = mustHit(lathe, {{0, 0.5, -5}, {0, 0, 1}});
  EXPECT_NEAR(hit.t, 5 - 0.75, 1e-9);
  EXPECT_TRUE(lathe.inside({0.5, 1, 0}));
  EXPECT_FALSE(lathe.inside({0, 1, 1.2}));
}

TEST(Lathe, CubicOutline) {
  const Lathe lathe(
      outline(L2_SPLINE_CUBIC, {{1, 0, false}, {1, 1, true}, {1, 2, true}, {1, 3, false}}, false));
  const SurfaceHit hit = mustHit(lathe, {{-5, 0.5, 0}, {1, 0.1, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-9);
  EXPECT_NEAR(hit.v, 0.9 / 3, 1e-9);
}

std::vector<OutlinePiece> square(double half, bool clockwise) {
  std::vector<OutlinePoint> points{
      {-half, -half, false}, {half, -half, false}, {half, half, false}, {-half, half, false}};
  if (clockwise) std::reverse(points.begin(), points.end());
  return outline(L2_SPLINE_LINEAR, points, true);
}

TEST(Extrusion, SquareSweepSidesAndCaps) {
  Extrusion sweep;
  sweep.addOutline(square(1, false));
  SurfaceHit hit = mustHit(sweep, {{0.3, 0.2, 5}, {0, 0, -1}});
  EXPECT_NEAR(hit.t, 4, 1e-12);
  EXPECT_NEAR(normalized(hit.normal).z, 1, 1e-12);
  hit = mustHit(sweep, {{-5, 0, 0.5}, {1, 0, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-12);
  EXPECT_NEAR(normalized(hit.normal).x, -1, 1e-12);
  EXPECT_NEAR(hit.v, 0.5, 1e-12);
  ASSERT_TRUE(sweep.setExtent(-1, 2));
  EXPECT_FALSE(sweep.setExtent(2, 2));
  EXPECT_NEAR(mustHit(sweep, {{0, 0, -5}, {0, 0, 1}}).t, 4, 1e-12);
  // As a cone the square shrinks towards z = 0: half size at z = 1 (end 2).
  ASSERT_TRUE(sweep.setCone(true));
  EXPECT_NEAR(mustHit(sweep, {{-5, 0, 1}, {1, 0, 0}}).t, 4.5, 1e-9);
  EXPECT_TRUE(sweep.inside({0.4, 0, 1}));
  EXPECT_FALSE(sweep.inside({0.6, 0, 1}));
}

TEST(Extrusion, GlyphHolesByWinding) {
  Extrusion glyph;
  glyph.addOutline(square(2, false));
  glyph.addOutline(square(1, true));  // wound the other way: a hole
  SurfaceHit miss;
  EXPECT_FALSE(glyph.intersect({{0, 0, 5}, {0, 0, -1}}, 0, kInf, miss));
  EXPECT_NEAR(mustHit(glyph, {{1.5, 0, 5}, {0, 0, -1}}).t, 4, 1e-12);
  // Into the hole's wall from inside the hole.
  EXPECT_NEAR(mustHit(glyph, {{0, 0, 0.5}, {1, 0, 0}}).t, 1, 1e-12);
  EXPECT_FALSE(glyph.inside({0, 0, 0.5}));
  EXPECT_TRUE(glyph.inside({1.5, 0, 0.5}));
}

TEST(Extrusion, QuadraticContourWithImpliedPoints) {
  // Four off-curve corners imply on-curve points at (0, 1), (-1, 0), (0, -1) and (1, 0).
  Extrusion glyph;
  glyph.addOutline(
      outline(L2_SPLINE_QUADRATIC, {{1, 1, true}, {-1, 1, true}, {-1, -1, true}, {1, -1, true}}, true));
  EXPECT_NEAR(mustHit(glyph, {{-5, 0, 0.5}, {1, 0, 0}}).t, 4, 1e-9);
  // At 45 degrees the curve passes (0.75, 0.75) on the piece from (1, 0) via (1, 1) to (0, 1).
  const Vec3 diagonal = normalized(Vec3{1, 1, 0});
  EXPECT_NEAR(mustHit(glyph, {{0, 0, 0.5}, diagonal}).t, 0.75 * std::sqrt(2.0), 1e-9);
}

TEST(OutlineEntries, ChecksAndUnsupportedBevel) {
  const L2Scene scene = NewScene();
  const double lathe_points[] = {1, 0, 0, 2, 1, 1, 1, 2, 0};
  const L2Primitive lathe = CreateLathe(scene, L2_SPLINE_QUADRATIC, 3, lathe_points);
  ASSERT_NE(lathe, 0u);
  EXPECT_EQ(CreateLathe(scene, L2_SPLINE_QUADRATIC, 1, lathe_points), 0u);
  EXPECT_EQ(ModifyLatheVertices(scene, lathe, L2_SPLINE_LINEAR, 3, lathe_points), L2_OK);
  EXPECT_EQ(SetPrimUV(scene, lathe, 8, 8), L2_OK);
  const double square_points[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  const L2Primitive sweep = CreateSweep(scene, L2_SPLINE_LINEAR, 4, square_points);
  ASSERT_NE(sweep, 0u);
  EXPECT_EQ(SetGlyphExtrusion(scene, sweep, 0, 0.5, 0.25), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetGlyphExtrusion(scene, sweep, 0.1, 0, 1), L2_ERROR_UNSUPPORTED);
  EXPECT_EQ(SetGlyphExtrusion(scene, sweep, 0, -1, 1), L2_OK);
  EXPECT_EQ(SetGlyphConeFlag(scene, sweep, 1), L2_OK);
  EXPECT_EQ(ModifySweepVertices(scene, lathe, L2_SPLINE_LINEAR, 4, square_points), L2_ERROR_HANDLE);
  const L2Primitive glyph = CreateGlyph(scene);
  const double on_curve[] = {0, 0, 1, 0, 1, 1};
  EXPECT_EQ(AddContour(scene, glyph, 2, 3, on_curve), L2_OK);
  EXPECT_EQ(AddContour(scene, glyph, 4, 3, on_curve), L2_ERROR_ARGUMENT);
  EXPECT_EQ(AddContour(scene, lathe, 2, 3, on_curve), L2_ERROR_HANDLE);
  EXPECT_EQ(FreeScene(scene), L2_OK);
}

}  // namespace
}  // namespace lumetra::renderlib
