// The showcase scene rendered by each method, compared with pictures kept as references.
// LUMETRA_UPDATE_GOLDENS=1 writes the current pictures as the new references.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/render_command.h"
#include "platform/testing/scratch_directory.h"

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

class ShowcaseGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ShowcaseGolden, MatchesItsReference) {
  const std::string method = GetParam();
  std::string name = method;
  for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(c));
  platform::ScratchDirectory dir;
  const fs::path picture = dir / (name + ".ppm");
  app::RenderArgs args;
  args.scene = std::string(LUMETRA_SOURCE_DIR) + "/examples/showcase/showcase.json";
  args.output = picture.string();
  args.method = method;
  args.size = "64x48";
  args.progress = "none";
  std::ostringstream out, err;
  ASSERT_EQ(app::RunRender(args, LUMETRA_PLUGIN_PATH, out, err), 0) << err.str();

  const fs::path golden =
      fs::path(LUMETRA_SOURCE_DIR) / "app" / "testdata" / "golden" / ("showcase-" + name + ".ppm");
  if (std::getenv("LUMETRA_UPDATE_GOLDENS")) fs::copy_file(picture, golden, fs::copy_options::overwrite_existing);
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

INSTANTIATE_TEST_SUITE_P(Methods, ShowcaseGolden,
                         ::testing::Values("Wireframe", "Hidden Line", "ZBuffer", "Scanline",
                                           "Raytracing"));

}  // namespace
