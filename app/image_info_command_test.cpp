#include "app/image_info_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "image/image_writer.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Info(const std::string& path, bool json) {
  std::ostringstream out, err;
  const int exitCode = app::RunImageInfo(path, json, out, err);
  return {exitCode, out.str(), err.str()};
}

TEST(ImageInfoCommand, DescribesFormatSizeKindAndRowOrder) {
  platform::ScratchDirectory scratch;
  const std::vector<uint8_t> pixels(5 * 3 * 4, 200);
  image::WriteImageFile({pixels, 5, 3}, image::ImageFileFormat::kBmp, (scratch / "a.bmp").string());
  const Outcome text = Info((scratch / "a.bmp").string(), false);
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("format      BMP\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("size        5 x 3\n"), std::string::npos);
  EXPECT_NE(text.out.find("pixel kind  11 (packed colour with alpha)\n"), std::string::npos);
  EXPECT_NE(text.out.find("palette     0 entries\n"), std::string::npos);
  EXPECT_NE(text.out.find("bits/pixel  32\n"), std::string::npos);
  EXPECT_NE(text.out.find("row order   bottom-up\n"), std::string::npos);

  image::WriteImageFile({pixels, 5, 3}, image::ImageFileFormat::kPng, (scratch / "a.png").string());
  const Outcome json = Info((scratch / "a.png").string(), true);
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const nlohmann::json parsed = nlohmann::json::parse(json.out);
  EXPECT_EQ(parsed["format"], "PNG");
  EXPECT_EQ(parsed["width"], 5);
  EXPECT_EQ(parsed["row_order"], "top-down");
  EXPECT_EQ(parsed["pixel_kind"], 11);
}

TEST(ImageInfoCommand, UnreadableFileIsOneLineOnStderr) {
  platform::ScratchDirectory scratch;
  const Outcome missing = Info((scratch / "none.gif").string(), false);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("none.gif: cannot open"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1);
}

}  // namespace
}  // namespace lumetra
