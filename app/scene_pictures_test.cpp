// Pictures of whole scenes. The frozen every-kind test scene rendered by each method is compared
// with the references in app/testdata/golden; LUMETRA_UPDATE_GOLDENS=1 writes the current
// pictures as the new references, for a change meant to change them. The example showcase is
// recomposed as the project grows, so it is only checked to render into a picture with
// something in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "app/render_command.h"
#include "host/testing/scene_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

struct Ppm {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

Ppm ReadPpm(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  Ppm ppm;
  std::string magic;
  int maximum = 0;
  in >> magic >> ppm.width >> ppm.height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255 || ppm.width <= 0 || ppm.height <= 0) return {};
  ppm.rgb.resize(static_cast<size_t>(ppm.width) * static_cast<size_t>(ppm.height) * 3);
  in.read(reinterpret_cast<char*>(ppm.rgb.data()), static_cast<std::streamsize>(ppm.rgb.size()));
  if (!in) return {};
  return ppm;
}

// Renders a scene into `picture`: empty when it worked, else the render's error output.
std::string Render(const std::string& scene, const std::string& method, const std::string& size,
                   const fs::path& picture) {
  app::RenderArgs args;
  args.scene = scene;
  args.output = picture.string();
  args.method = method;
  args.size = size;
  args.progress = "none";
  std::ostringstream out, err;
  return app::RunRender(args, LUMETRA_PLUGIN_PATH, out, err) == 0 ? "" : "failed: " + err.str();
}

class EveryKindGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryKindGolden, MatchesItsReference) {
  const std::string method = GetParam();
  std::string name = method;
  for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(c));
  platform::ScratchDirectory dir;
  const fs::path picture = dir / (name + ".ppm");
  ASSERT_EQ(Render(host::testing::EveryKindScenePath(), method, "64x48", picture), "");

  const fs::path golden =
      fs::path(LUMETRA_SOURCE_DIR) / "app" / "testdata" / "golden" / ("every-kind-" + name + ".ppm");
  if (std::getenv("LUMETRA_UPDATE_GOLDENS"))
    fs::copy_file(picture, golden, fs::copy_options::overwrite_existing);
  const Ppm expected = ReadPpm(golden);
  const Ppm actual = ReadPpm(picture);
  ASSERT_EQ(expected.width, 64) << "no reference picture " << golden;
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  // Small differences in rounding are allowed; a changed picture is not.
  size_t differing = 0;
  double total = 0;
  for (size_t i = 0; i < actual.rgb.size(); ++i) {
    const int difference = std::abs(int{actual.rgb[i]} - int{expected.rgb[i]});
    total += difference;
    if (difference > 24) ++differing;
  }
  EXPECT_LT(total / static_cast<double>(actual.rgb.size()), 1.5) << method;
  EXPECT_LE(differing, actual.rgb.size() / 100) << method;
}

INSTANTIATE_TEST_SUITE_P(Methods, EveryKindGolden,
                         ::testing::Values("Wireframe", "Hidden Line", "ZBuffer", "Scanline", "Raytracing"));

TEST(Showcase, RendersIntoAPictureWithSomethingInIt) {
  platform::ScratchDirectory dir;
  const fs::path picture = dir / "showcase.ppm";
  ASSERT_EQ(Render(std::string(LUMETRA_SOURCE_DIR) + "/examples/showcase/showcase.json", "Raytracing",
                   "96x54", picture),
            "");
  const Ppm ppm = ReadPpm(picture);
  ASSERT_EQ(ppm.width, 96);
  ASSERT_EQ(ppm.height, 54);
  // Not one flat colour nor a sky with a speck: many colours, none covering most of the picture.
  std::map<uint32_t, size_t> colours;
  for (size_t i = 0; i < ppm.rgb.size(); i += 3) {
    ++colours[uint32_t{ppm.rgb[i]} << 16 | uint32_t{ppm.rgb[i + 1]} << 8 | ppm.rgb[i + 2]];
  }
  size_t commonest = 0;
  for (const auto& [colour, count] : colours) commonest = std::max(commonest, count);
  EXPECT_GT(colours.size(), 200u);
  EXPECT_LT(commonest, ppm.rgb.size() / 3 / 2);
}

}  // namespace
}  // namespace lumetra
