#include "tools/texture_swatch_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "host/testing/scene_test_support.h"
#include "image/image_loader.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

const std::string kScene = host::testing::EveryKindScenePath();

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Swatch(const tools::SwatchRequest& request) {
  std::ostringstream out, err;
  const int exitCode = tools::RunTextureSwatch(request, out, err);
  return {exitCode, out.str(), err.str()};
}

TEST(TextureSwatchCommand, ShadesTheCheckerOfAMaterialHeadOn) {
  platform::ScratchDirectory scratch;
  tools::SwatchRequest request{
      kScene, "Checks", (scratch / "checks.png").string(), 8, tools::SwatchPlane::kXz, 4.0};
  const Outcome outcome = Swatch(request);
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("8 x 8"), std::string::npos);
  image::Image image;
  ASSERT_EQ(image::LoadImage(image, request.outputPath), 1);
  ASSERT_EQ(image.Width(), 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      // Pixel centres of the 4-unit square on the x-z plane, z up the image.
      const double px = ((x + 0.5) / 8 - 0.5) * 4, pz = ((1 - (y + 0.5) / 8) - 0.5) * 4;
      const bool white = static_cast<long>(std::floor(px) + std::floor(pz)) % 2 == 0;
      const auto bgra = image.Bgra(x, image.StoredRowOfTopRow(y));
      // White: ambient 0.2 + diffuse 0.6 under a head-on light; dark: a tenth of it.
      EXPECT_NEAR(bgra[2], white ? 204 : 20, 1) << x << " " << y;
      EXPECT_EQ(bgra[0], bgra[2]);
    }
  }
}

TEST(TextureSwatchCommand, EveryTestSceneMaterialWithATextureRenders) {
  platform::ScratchDirectory scratch;
  for (const char* material : {"Marble", "Bricks", "Layers", "Haze"}) {
    for (tools::SwatchPlane plane : {tools::SwatchPlane::kXy, tools::SwatchPlane::kYz}) {
      const Outcome outcome = Swatch({kScene, material, (scratch / "m.png").string(), 16, plane, 2.0});
      EXPECT_EQ(outcome.exitCode, 0) << material << ": " << outcome.err;
    }
  }
}

TEST(TextureSwatchCommand, ReportsWhatCannotBeDone) {
  platform::ScratchDirectory scratch;
  const std::string output = (scratch / "x.png").string();
  Outcome outcome = Swatch({kScene, "Velvet", output, 8, tools::SwatchPlane::kXy, 1.0});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.err.find("no material named 'Velvet'"), std::string::npos) << outcome.err;
  outcome = Swatch({(scratch / "missing.json").string(), "Checks", output, 8, tools::SwatchPlane::kXy, 1.0});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.err.find("lumetra-tool texture-swatch: "), std::string::npos);
  outcome = Swatch({kScene, "Checks", output, 0, tools::SwatchPlane::kXy, 1.0});
  EXPECT_EQ(outcome.exitCode, 1);
  outcome = Swatch({kScene, "Checks", output, 8, tools::SwatchPlane::kXy, -2.0});
  EXPECT_EQ(outcome.exitCode, 1);
  outcome = Swatch(
      {kScene, "Checks", (scratch / "no" / "dir" / "x.png").string(), 8, tools::SwatchPlane::kXy, 1.0});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace lumetra
