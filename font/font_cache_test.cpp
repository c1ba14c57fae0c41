#include "font/font_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "font/testing/test_font_builder.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::font {
namespace {

using font::testing::BoxGlyph;
using font::testing::TestFontBuilder;

class FontCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseFonts(); }
  void TearDown() override { ReleaseFonts(); }

  std::string WriteFont(const std::string& name) {
    TestFontBuilder builder;
    builder.AddGlyph(BoxGlyph(0, 0, 400, 700, 500), 'A');
    builder.AddGlyph(BoxGlyph(0, 0, 300, 700, 500), 'B');
    const auto path = scratch / name;
    builder.WriteTo(path);
    return path.string();
  }

  platform::ScratchDirectory scratch;
};

TEST_F(FontCacheTest, AFontIsReadOnceUntilReleased) {
  const std::string path = WriteFont("a.ttf");
  const auto first = LoadFont(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->fileName, path);
  EXPECT_EQ(LoadFont(path), first);
  EXPECT_NE(LoadFont(WriteFont("b.ttf")), first);
  ReleaseFonts();
  const auto again = LoadFont(path);
  ASSERT_TRUE(again);
  EXPECT_NE(again, first);
  EXPECT_EQ(first->fileName, path);  // the old font lives on with its user
}

TEST_F(FontCacheTest, MissingAndBrokenFontsGiveNoFontAndSayWhy) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFont((scratch / "absent.ttf").string()));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Can't open font file: '" + (scratch / "absent.ttf").string() + "'\n");

  const auto broken = scratch / "broken.ttf";
  std::filesystem::copy_file(WriteFont("whole.ttf"), broken);
  std::filesystem::resize_file(broken, 100);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFont(broken.string()));
  const std::string reason = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(reason.rfind("Bad font file '" + broken.string() + "': ", 0), 0u) << reason;
  EXPECT_NE(reason.find("past the end of the file (100 bytes)"), std::string::npos) << reason;
  EXPECT_FALSE(LoadFont(scratch.Path().string()));  // a directory is no font file
}

TEST_F(FontCacheTest, AGlyphIsReadFromTheFileOnceAndAVanishedFileFailsOnlyNewGlyphs) {
  const std::string path = WriteFont("a.ttf");
  const auto font = LoadFont(path);
  ASSERT_TRUE(font);
  const TrueTypeGlyph* a = GetGlyph(*font, 'A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->index, 1);
  ASSERT_EQ(a->contours.size(), 1u);

  std::filesystem::remove(path);
  EXPECT_EQ(GetGlyph(*font, 'A'), a);  // from the font's list: the file is not needed
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(GetGlyph(*font, 'B'), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Can't open font file: '" + path + "'\n");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFont(path)) << "a cached font whose file is gone cannot be reopened";
  ::testing::internal::GetCapturedStderr();
}

TEST_F(FontCacheTest, TwoJobsShareFontsAndGlyphsSafely) {
  const std::string path = WriteFont("shared.ttf");
  constexpr int kJobs = 4;
  std::vector<std::shared_ptr<TrueTypeFont>> fonts(kJobs);
  std::vector<std::set<const TrueTypeGlyph*>> glyphs(kJobs);
  std::vector<std::thread> jobs;
  for (int job = 0; job < kJobs; ++job) {
    jobs.emplace_back([&, job] {
      for (int round = 0; round < 50; ++round) {
        fonts[job] = LoadFont(path);
        for (const char character : std::string("ABBA")) glyphs[job].insert(GetGlyph(*fonts[job], character));
      }
    });
  }
  for (auto& job : jobs) job.join();
  for (int job = 0; job < kJobs; ++job) {
    EXPECT_EQ(fonts[job], fonts[0]);
    EXPECT_EQ(glyphs[job], glyphs[0]);
  }
  EXPECT_EQ(glyphs[0].size(), 2u);
  EXPECT_EQ(std::distance(fonts[0]->glyphs.begin(), fonts[0]->glyphs.end()), 2);
}

}  // namespace
}  // namespace lumetra::font
