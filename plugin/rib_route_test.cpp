#include "plugin/rib_route.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "abi/result_codes.h"
#include "abi/rib_exporter_record.h"
#include "image/image_writer.h"
#include "platform/debug_log.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::plugin {
namespace {

// What the stand-in exporter was asked and what it answers.
struct ExporterScript {
  std::string renderer;
  std::string ribFile;
  int32_t dirLength = -1;
  int32_t answer = 0;
  std::string picture;  // the name it answers
  int calls = 0;
};
ExporterScript g_exporter;
abi::RibExporterRecord g_record{};
bool g_offered = true;
abi::RenderSettingsRecord g_settings{};
bool g_settingsAnswered = true;

int32_t LUMETRA_STDCALL ExportAndRender(const char* renderer, const char* ribFile, int32_t dirLength,
                                        char image[abi::kRibImageNameBytes]) {
  ++g_exporter.calls;
  g_exporter.renderer = renderer;
  g_exporter.ribFile = ribFile;
  g_exporter.dirLength = dirLength;
  std::strncpy(image, g_exporter.picture.c_str(), abi::kRibImageNameBytes - 1);
  return g_exporter.answer;
}

int32_t LUMETRA_STDCALL FindPlugin(const abi::InterfaceId* id, void** found) {
  const bool match = g_offered && id->low == abi::kRibExporterId.low && id->high == abi::kRibExporterId.high;
  *found = match ? &g_record : nullptr;
  return match ? abi::kOk : abi::kNotFound;
}

int32_t LUMETRA_STDCALL GetRenderSettings(int32_t, abi::RenderSettingsRecord* settings) {
  if (!g_settingsAnswered) return abi::kNotFound;
  *settings = g_settings;
  return abi::kOk;
}

void SetText(char (&field)[260], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), text.size());
}

class RibRouteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_exporter = {};
    g_record = {};
    g_record.exportAndRender = ExportAndRender;
    g_offered = true;
    g_settings = {};
    g_settingsAnswered = true;
    host_.findPlugin = FindPlugin;
    host_.getRenderSettings = GetRenderSettings;
    job_.image = render::ImageBuffer(4, 3);
    job_.image.Fill(9, 9, 9);
    job_.image.TakeChanged();
    job_.ribRenderer = "rendrib.exe";
    platform::DebugLog::Clear();
  }

  // A 4 x 3 PNG: red top-left, blue bottom-left, grey elsewhere.
  std::string WritePicture(int32_t width = 4, int32_t height = 3) {
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width * height) * 4, 128);
    const auto set = [&](int32_t x, int32_t yFromTop, uint8_t b, uint8_t g, uint8_t r) {
      uint8_t* p = &bottomUp[(static_cast<size_t>(height - 1 - yFromTop) * width + x) * 4];
      p[0] = b, p[1] = g, p[2] = r, p[3] = 255;
    };
    set(0, 0, 0, 0, 255);
    set(0, height - 1, 255, 0, 0);
    const std::string path = (dir_ / "picture.png").string();
    image::WriteImageFile({bottomUp, width, height}, image::ImageFileFormat::kPng, path);
    return path;
  }

  bool LoggedOnly(const std::string& line) {
    const std::vector<std::string> lines = platform::DebugLog::Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  platform::ScratchDirectory dir_;
  abi::SceneRecord host_{};
  render::RenderJob job_;
};

TEST_F(RibRouteTest, RibFileIsTheOutputFolderAndSceneNameOrATemporaryOneWithoutTheHost) {
  abi::RenderSettingsRecord settings{};
  SetText(settings.outputDirectory, "/renders/");
  SetText(settings.sceneFile, "/scenes/teapot.scene.json");
  RibFile file = RibFileFor(&settings);
  EXPECT_EQ(file.path, "/renders/teapot.scene.rib");
  EXPECT_EQ(file.dirLength, 9);
  SetText(settings.outputDirectory, "");
  file = RibFileFor(&settings);
  EXPECT_EQ(file.path, "teapot.scene.rib");
  EXPECT_EQ(file.dirLength, 0);
  SetText(settings.sceneFile, "");
  EXPECT_EQ(RibFileFor(&settings).path, "out.rib");
  // No answer: no folder and no name would leave a bare ".rib" in whatever folder is current.
  file = RibFileFor(nullptr);
  const std::filesystem::path path(file.path);
  EXPECT_EQ(path.parent_path(), std::filesystem::temp_directory_path());
  EXPECT_EQ(path.extension(), ".rib");
  EXPECT_GT(path.stem().string().size(), 0u);
  EXPECT_EQ(file.path.substr(0, static_cast<size_t>(file.dirLength)), path.parent_path().string() + "/");
}

TEST_F(RibRouteTest, ThePictureFillsTheJobTopRowFirstAndAllOfItChanges) {
  SetText(g_settings.outputDirectory, (dir_.Path().string() + "/").c_str());
  SetText(g_settings.sceneFile, "shot.json");
  g_exporter.picture = WritePicture();
  ASSERT_TRUE(RenderWithRib(job_, host_));
  EXPECT_FALSE(job_.Aborted());
  EXPECT_EQ(g_exporter.renderer, "rendrib.exe");
  EXPECT_EQ(g_exporter.ribFile, (dir_ / "shot.rib").string());
  EXPECT_EQ(g_exporter.dirLength, static_cast<int32_t>(dir_.Path().string().size() + 1));
  const auto topLeft = job_.image.Pixel(0, 0), bottomLeft = job_.image.Pixel(0, 2),
             middle = job_.image.Pixel(2, 1);
  EXPECT_EQ(topLeft[2], 255);  // red
  EXPECT_EQ(topLeft[0], 0);
  EXPECT_EQ(bottomLeft[0], 255);  // blue
  EXPECT_EQ(bottomLeft[2], 0);
  EXPECT_EQ(middle[1], 128);
  EXPECT_EQ(job_.image.Changed(), (render::PixelRect{0, 0, 4, 3}));
}

TEST_F(RibRouteTest, EveryFailureAbortsTheJobWithItsLineAndLeavesTheImage) {
  const auto untouched = [&] { return job_.image.Pixel(1, 1)[0] == 9 && job_.image.Changed().Empty(); };
  g_offered = false;
  EXPECT_FALSE(RenderWithRib(job_, host_));
  EXPECT_TRUE(job_.Aborted());
  EXPECT_TRUE(LoggedOnly("Failed to find RIB Exporter plugin\n"));
  EXPECT_EQ(g_exporter.calls, 0);

  job_.abort = 0;
  g_offered = true;
  g_exporter.answer = 1;
  EXPECT_FALSE(RenderWithRib(job_, host_));
  EXPECT_TRUE(job_.Aborted());
  EXPECT_TRUE(LoggedOnly("Failed to render the RIB file\n"));

  job_.abort = 0;
  g_exporter.answer = 0;
  g_exporter.picture = (dir_ / "garbage.tif").string();
  std::ofstream(g_exporter.picture) << "not a picture";
  EXPECT_FALSE(RenderWithRib(job_, host_));
  EXPECT_TRUE(job_.Aborted());
  EXPECT_TRUE(LoggedOnly("Failed to load rendered RIB image\n"));

  // A picture smaller than the job cannot fill it.
  job_.abort = 0;
  g_exporter.picture = WritePicture(2, 2);
  EXPECT_FALSE(RenderWithRib(job_, host_));
  EXPECT_TRUE(job_.Aborted());
  EXPECT_TRUE(untouched());

  // An exporter record without the entry counts as no exporter.
  job_.abort = 0;
  g_record.exportAndRender = nullptr;
  platform::DebugLog::Clear();
  EXPECT_FALSE(RenderWithRib(job_, host_));
  EXPECT_TRUE(LoggedOnly("Failed to find RIB Exporter plugin\n"));
}

TEST_F(RibRouteTest, AHostThatDoesNotAnswerStillGetsAUsableRibFile) {
  g_settingsAnswered = false;
  g_exporter.picture = WritePicture();
  ASSERT_TRUE(RenderWithRib(job_, host_));
  EXPECT_EQ(std::filesystem::path(g_exporter.ribFile).parent_path(), std::filesystem::temp_directory_path());
  EXPECT_GT(g_exporter.dirLength, 0);
}

}  // namespace
}  // namespace lumetra::plugin
