// Pictures of small scenes: the camera's conventions, every shape where it belongs,
// holes, patches, solids and instances.
#include <gtest/gtest.h>

#include "rib/testing/render_text.h"

namespace lumetra::rib {
namespace {

using testing::RenderText;

// A 64 x 48 camera five units back looking along +z, lit by the default surface.
std::string Scene(const std::string& world, const std::string& camera = "") {
  return "Format 64 48 1\nPixelSamples 1 1\nProjection \"perspective\" \"fov\" 45\n" + camera +
         "Translate 0 0 5\nWorldBegin\nSurface \"constant\"\n" + world + "\nWorldEnd\n";
}

struct Frame {
  Picture picture;

  float Red(int x, int y) const {
    return picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4];
  }
  float Green(int x, int y) const {
    return picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4 + 1];
  }
  // How much of the rectangle is lit (red above a half).
  double Lit(int x0, int y0, int x1, int y1) const {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) lit += Red(x, y) > 0.5;
    return static_cast<double>(lit) / ((x1 - x0) * (y1 - y0));
  }
  double Left() const { return Lit(0, 0, 32, 48); }
  double Right() const { return Lit(32, 0, 64, 48); }
  double Top() const { return Lit(0, 0, 64, 24); }
  double Bottom() const { return Lit(0, 24, 64, 48); }
};

Frame Render(const std::string& text) {
  auto outcome = RenderText(text);
  EXPECT_EQ(outcome.error, "");
  EXPECT_EQ(outcome.pictures.size(), 1u);
  if (outcome.pictures.empty()) return {};
  return {outcome.pictures[0]};
}

TEST(RibCamera, XIsRightAndYIsUp) {
  const Frame right = Render(Scene("Translate 1 0 0\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_GT(right.Right(), 0.05);
  EXPECT_EQ(right.Left(), 0);
  const Frame up = Render(Scene("Translate 0 1 0\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_GT(up.Top(), 0.05);
  EXPECT_EQ(up.Bottom(), 0);
  // Farther along +z is farther from the camera: smaller.
  const Frame near = Render(Scene("Sphere 0.5 -0.5 0.5 360"));
  const Frame far = Render(Scene("Translate 0 0 5\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_GT(near.Lit(0, 0, 64, 48), 2 * far.Lit(0, 0, 64, 48));
  EXPECT_GT(far.Lit(0, 0, 64, 48), 0);
}

TEST(RibCamera, TheCameraTransformTurnsTheWorld) {
  // Turned 90 degrees about y, the camera looks along world -x... so a sphere at world +x
  // is behind it and one at -x in front, in the middle of the picture.
  const std::string turn = "Rotate 90 0 1 0\n";
  const std::string world = "Surface \"constant\"\nTranslate -5 0 0\nSphere 0.5 -0.5 0.5 360";
  const Frame front = Render("Format 64 48 1\nPixelSamples 1 1\nProjection \"perspective\" \"fov\" 45\n" +
                             turn + "WorldBegin\n" + world + "\nWorldEnd");
  EXPECT_GT(front.Red(32, 24), 0.5);
  const Frame behind =
      Render("Format 64 48 1\nPixelSamples 1 1\nProjection \"perspective\" \"fov\" 45\n" + turn +
             "WorldBegin\nSurface \"constant\"\nTranslate 5 0 0\nSphere 0.5 -0.5 0.5 360\nWorldEnd");
  EXPECT_EQ(behind.Lit(0, 0, 64, 48), 0);
}

TEST(RibCamera, FovIsTheAngleOfTheShorterSide) {
  // A sphere of radius tan(22.5 deg) * 5 just fills the 45 degree side: the shorter one,
  // which is the height in a wide picture and the width in a tall one.
  const std::string sphere = "Sphere 2.0711 -3 3 360";
  const Frame wide = Render(Scene(sphere));
  EXPECT_GT(wide.Red(32, 2), 0.5);
  EXPECT_LT(wide.Red(2, 24), 0.5);
  const Frame tall = Render(
      "Format 48 64 1\nPixelSamples 1 1\nProjection \"perspective\" \"fov\" 45\n"
      "Translate 0 0 5\nWorldBegin\nSurface \"constant\"\n" +
      sphere + "\nWorldEnd");
  EXPECT_GT(tall.Red(2, 32), 0.5);
  EXPECT_LT(tall.Red(24, 2), 0.5);
}

TEST(RibCamera, OrthographicShowsTheScreenWindowUnscaledByDistance) {
  const std::string camera =
      "Format 64 48 1\nPixelSamples 1 1\nProjection \"orthographic\"\nScreenWindow -2 2 -1.5 1.5\n";
  const Frame near =
      Render(camera + "Translate 0 0 5\nWorldBegin\nSurface \"constant\"\nSphere 1 -1 1 360\nWorldEnd");
  const Frame far =
      Render(camera + "Translate 0 0 50\nWorldBegin\nSurface \"constant\"\nSphere 1 -1 1 360\nWorldEnd");
  // Radius 1 of a 1.5 half height: 16 pixels from the middle either way.
  EXPECT_GT(near.Red(32, 24 - 14), 0.5);
  EXPECT_LT(near.Red(32, 24 - 18), 0.5);
  EXPECT_NEAR(near.Lit(0, 0, 64, 48), far.Lit(0, 0, 64, 48), 0.01);
}

// Each quadric at +x, open side towards the camera where it has one.
TEST(RibShapes, EveryQuadricAppearsWhereItIsPut) {
  const char* shapes[] = {
      "Sphere 0.6 -0.6 0.6 360",
      "Sphere 0.6 -0.6 0.6 180",
      "Cylinder 0.5 -0.5 0.5 360",
      "Cylinder 0.5 -0.5 0.5 270",
      "Rotate 180 0 1 0\nCone 0.8 0.6 360",
      "Rotate 180 0 1 0\nCone 0.8 0.6 200",
      "Disk 0 0.6 360",
      "Disk 0 0.6 90",
      "Torus 0.5 0.15 0 360 360",
      "Torus 0.5 0.15 0 180 360",
      "Rotate 180 0 1 0\nParaboloid 0.6 0 0.8 360",
      "Rotate 180 0 1 0\nHyperboloid 0.3 -0.3 -0.5 0.3 0.3 0.5 360",
  };
  for (const char* shape : shapes) {
    const Frame frame = Render(Scene(std::string("Translate 1.2 0 0\n") + shape));
    EXPECT_GT(frame.Right(), 0.015) << shape;
    EXPECT_EQ(frame.Left(), 0) << shape;
  }
  // Partial sweeps go from +x towards +y: a half sphere about z shows only its top half.
  const Frame half = Render(Scene("Disk 0 1 180"));
  EXPECT_GT(half.Top(), 0.1);
  EXPECT_LT(half.Bottom(), 0.02);
}

TEST(RibShapes, PolygonHolesStayOpen) {
  const std::string square = "-1 -1 0  1 -1 0  1 1 0  -1 1 0";
  const std::string hole = "-0.4 -0.4 0  -0.4 0.4 0  0.4 0.4 0  0.4 -0.4 0";
  const Frame general = Render(Scene("GeneralPolygon [4 4] \"P\" [" + square + " " + hole + "]"));
  EXPECT_LT(general.Red(32, 24), 0.5);
  EXPECT_GT(general.Red(32, 24 - 10), 0.5);
  const Frame points =
      Render(Scene("PointsGeneralPolygons [2] [4 4] [0 1 2 3 4 5 6 7] \"P\" [" + square + " " + hole + "]"));
  EXPECT_LT(points.Red(32, 24), 0.5);
  EXPECT_GT(points.Red(32 + 10, 24), 0.5);
  const Frame plain = Render(Scene("Polygon \"P\" [" + square + "]"));
  EXPECT_GT(plain.Red(32, 24), 0.5);
  // Two triangles sharing an edge: the left one only.
  const Frame mesh = Render(Scene("PointsPolygons [3] [0 1 2] \"P\" [-1 -1 0  0 -1 0  -1 1 0]"));
  EXPECT_GT(mesh.Left(), 0.05);
  EXPECT_EQ(mesh.Right(), 0);
}

TEST(RibShapes, PatchesCoverTheirControlHull) {
  const std::string flat =
      "\"P\" [-1 -1 0  -0.3 -1 0  0.3 -1 0  1 -1 0  -1 -0.3 0  -0.3 -0.3 0  0.3 -0.3 0  1 -0.3 0 "
      " -1 0.3 0  -0.3 0.3 0  0.3 0.3 0  1 0.3 0  -1 1 0  -0.3 1 0  0.3 1 0  1 1 0]";
  const Frame bezier = Render(Scene("Patch \"bicubic\" " + flat));
  EXPECT_GT(bezier.Red(32, 24), 0.5);
  EXPECT_GT(bezier.Lit(20, 12, 44, 36), 0.95);
  // The same points as a b-spline span only the middle third.
  const Frame bspline = Render(Scene("Basis \"b-spline\" 1 \"b-spline\" 1\nPatch \"bicubic\" " + flat));
  EXPECT_GT(bspline.Red(32, 24), 0.5);
  EXPECT_LT(bspline.Lit(0, 0, 64, 48), bezier.Lit(0, 0, 64, 48) / 3);
  const Frame bilinear = Render(
      Scene("Translate 1.2 0 0\nPatch \"bilinear\" \"P\" [-0.5 -0.5 0 0.5 -0.5 0 -0.5 0.5 0 0.5 0.5 0]"));
  EXPECT_GT(bilinear.Right(), 0.05);
  EXPECT_EQ(bilinear.Left(), 0);
  const Frame mesh =
      Render(Scene("PatchMesh \"bilinear\" 3 \"nonperiodic\" 2 \"nonperiodic\" "
                   "\"P\" [-1.5 -0.5 0  0 -0.5 0  -1.5 0.5 0  -1.5 0.5 0  0 0.5 0  -1.5 0.5 0]"));
  EXPECT_GT(mesh.Left(), 0.05);
}

TEST(RibShapes, SolidsCutAndJoin) {
  const std::string operands = "Color 0 1 0\nSphere 1 -1 1 360\nColor 1 0 0\nCylinder 0.3 -2 2 360\n";
  const Frame difference = Render(Scene("SolidBegin \"difference\"\n" + operands + "SolidEnd"));
  EXPECT_LT(difference.Red(32, 24), 0.2);  // seen through the bore
  EXPECT_LT(difference.Green(32, 24), 0.2);
  EXPECT_GT(difference.Green(32, 24 - 12), 0.5);
  const Frame join = Render(Scene("SolidBegin \"union\"\n" + operands + "SolidEnd"));
  EXPECT_GT(join.Red(32, 24), 0.5);  // the bar's end in front
  const Frame both = Render(Scene("SolidBegin \"intersection\"\n" + operands + "SolidEnd"));
  EXPECT_GT(both.Red(32, 24) + both.Green(32, 24), 0.5);
  EXPECT_LT(both.Green(32, 24 - 12), 0.2);
  // Nested solids with primitive leaves.
  const Frame nested =
      Render(Scene("SolidBegin \"difference\"\nSolidBegin \"primitive\"\nColor 0 1 0\n"
                   "Sphere 1 -1 1 360\nSolidEnd\nSolidBegin \"primitive\"\nColor 1 0 0\n"
                   "Cylinder 0.3 -2 2 360\nSolidEnd\nSolidEnd"));
  EXPECT_LT(nested.Green(32, 24), 0.2);
  EXPECT_GT(nested.Green(32, 24 - 12), 0.5);
}

TEST(RibShapes, AnObjectDrawnTwice) {
  const Frame frame =
      Render(Scene("ObjectBegin \"ball\"\nSphere 0.5 -0.5 0.5 360\nObjectEnd\n"
                   "AttributeBegin\nTranslate -1.2 0 0\nObjectInstance \"ball\"\nAttributeEnd\n"
                   "AttributeBegin\nTranslate 1.2 0 0\nObjectInstance \"ball\"\nAttributeEnd"));
  EXPECT_GT(frame.Lit(0, 0, 24, 48), 0.05);
  EXPECT_GT(frame.Lit(40, 0, 64, 48), 0.05);
  EXPECT_EQ(frame.Lit(28, 0, 36, 48), 0);
}

TEST(RibShading, LightsColoursAndBlocksKeepTheirOwnState) {
  // Matte lit by a distant light from the camera side; the colour returns after the block.
  const Frame lit = Render(
      Scene("LightSource \"distantlight\" 1 \"from\" [0 0 0] \"to\" [0 0 1] \"intensity\" 1\n"
            "AttributeBegin\nColor 1 0 0\nSurface \"matte\"\nTranslate -1 0 0\nSphere 0.5 -0.5 0.5 360\n"
            "AttributeEnd\nTranslate 1 0 0\nSurface \"matte\"\nSphere 0.5 -0.5 0.5 360"));
  const float leftRed = lit.Red(21, 24), rightRed = lit.Red(43, 24);
  EXPECT_GT(leftRed, 0.5);
  EXPECT_LT(lit.Green(21, 24), 0.1);
  EXPECT_GT(lit.Green(43, 24), 0.5);
  EXPECT_NEAR(rightRed, lit.Green(43, 24), 0.01);
  // Without lights a matte surface is black but for the ambient light.
  const Frame dark = Render(Scene("Surface \"matte\"\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_LT(dark.Red(32, 24), 0.01);
  const Frame ambient =
      Render(Scene("LightSource \"ambientlight\" 2 \"intensity\" 0.5\nSurface \"matte\" \"Ka\" 1\n"
                   "Sphere 0.5 -0.5 0.5 360"));
  EXPECT_NEAR(ambient.Red(32, 24), 0.5, 0.02);
  // A point light fades with the square of the distance: 2 from the sphere's front.
  const Frame faded =
      Render(Scene("LightSource \"pointlight\" 1 \"from\" [0 0 -2.5]\n"
                   "Surface \"matte\"\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_NEAR(faded.Red(32, 24), 0.25, 0.02);
}

TEST(RibShading, FalloffAndShadowsFollowTheLightsParameters) {
  const auto lit = [](const std::string& light) {
    return Render(Scene("LightSource \"pointlight\" 1 \"from\" [0 0 -2.5] " + light +
                        "\nSurface \"matte\"\nSphere 0.5 -0.5 0.5 360"))
        .Red(32, 24);
  };
  // 2 from the sphere's front: no fading, 1 / d, and halved at the fade distance 2.
  EXPECT_NEAR(lit("\"falloff\" 0"), 1, 0.02);
  EXPECT_NEAR(lit("\"falloff\" 1"), 0.5, 0.02);
  EXPECT_NEAR(lit("\"falloff\" 2 \"falloffdistance\" 1"), 1 / (0.5 + 0.5 * 4), 0.02);
  EXPECT_NEAR(lit("\"falloff\" 1 \"falloffdistance\" 2"), 1, 0.02);
  EXPECT_EQ(RenderText(Scene("LightSource \"pointlight\" 1 \"falloff\" 3")).error.empty(), false);
  EXPECT_EQ(RenderText(Scene("LightSource \"pointlight\" 1 \"shadows\" \"maybe\"")).error.empty(), false);
  // A ball between the light and the wall shades the wall's middle, which the camera sees
  // beside the ball, only when the light casts shadows.
  const auto wall = [](const std::string& shadows) {
    return Render(Scene("LightSource \"pointlight\" 1 \"from\" [3 0 -3] \"falloff\" 0 " + shadows +
                        "\nSurface \"matte\"\nPolygon \"P\" [-3 -3 0 3 -3 0 3 3 0 -3 3 0]\n"
                        "Translate 1.5 0 -1.5\nSphere 0.4 -0.4 0.4 360"))
        .Red(32, 24);
  };
  EXPECT_GT(wall(""), 0.3);
  EXPECT_GT(wall("\"shadows\" \"off\""), 0.3);
  EXPECT_LT(wall("\"shadows\" \"on\""), 0.01);
}

TEST(RibShading, TheBackgroundImagerColoursWhatNoShapeCovers) {
  const Frame frame = Render("Imager \"background\" \"bgcolor\" [0.25 0.5 1]\n" +
                             Scene("Translate 0 0 20\nSphere 0.5 -0.5 0.5 360"));
  EXPECT_NEAR(frame.Red(2, 2), 0.25, 1e-6);
  EXPECT_NEAR(frame.Green(2, 2), 0.5, 1e-6);
  EXPECT_EQ(Render(Scene("")).Red(2, 2), 0);  // black without it
}

TEST(RibShading, ASpotLightLightsItsConeOnly) {
  const Frame frame =
      Render(Scene("LightSource \"spotlight\" 1 \"from\" [0 0 -3] \"to\" [1 0 0] \"intensity\" 9 "
                   "\"coneangle\" 0.15 \"conedeltaangle\" 0.05\nSurface \"matte\"\n"
                   "Polygon \"P\" [-2 -2 0 2 -2 0 2 2 0 -2 2 0]"));
  EXPECT_GT(frame.Right(), 0.02);
  EXPECT_EQ(frame.Left(), 0);
}

}  // namespace
}  // namespace lumetra::rib
