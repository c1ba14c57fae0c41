// The library's own entries: its version against the header's and the soname, and the
// reason a creating entry gives for its 0.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "lumetra2.h"

namespace {

std::string lastError() { return GetLastErrorMessage(); }

std::string versionText() {
  return std::to_string(LUMETRA2_VERSION_MAJOR) + "." + std::to_string(LUMETRA2_VERSION_MINOR) + "." +
         std::to_string(LUMETRA2_VERSION_PATCH);
}

TEST(LibraryVersion, TheLoadedLibraryIsTheHeaders) {
  EXPECT_EQ(GetLibraryVersion(), LUMETRA2_VERSION);
  EXPECT_EQ(GetLibraryVersion() >> 16, uint32_t(LUMETRA2_VERSION_MAJOR));
  EXPECT_EQ((GetLibraryVersion() >> 8) & 0xFF, uint32_t(LUMETRA2_VERSION_MINOR));
  EXPECT_EQ(GetLibraryVersion() & 0xFF, uint32_t(LUMETRA2_VERSION_PATCH));
}

TEST(LibraryVersion, VersionsCompareAsNumbers) {
  EXPECT_LT(LUMETRA2_MAKE_VERSION(0, 9, 255), LUMETRA2_MAKE_VERSION(0, 10, 0));
  EXPECT_LT(LUMETRA2_MAKE_VERSION(1, 255, 255), LUMETRA2_MAKE_VERSION(2, 0, 0));
  EXPECT_EQ(LUMETRA2_MAKE_VERSION(1, 2, 3), 0x010203u);
}

// The file is named for the whole version and the program found it by its soname, which
// carries the major version: the header cannot drift from the library's build settings.
TEST(LibraryVersion, FileAndSonameCarryTheHeadersVersion) {
  const std::string built = LUMETRA2_LIBRARY_PATH;
  EXPECT_EQ(built.substr(built.rfind('/') + 1), "liblumetra2.so." + versionText());
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&GetLibraryVersion), &info), 0);
  const std::string loaded = info.dli_fname;
  EXPECT_EQ(loaded.substr(loaded.rfind('/') + 1), "liblumetra2.so." + std::to_string(LUMETRA2_VERSION_MAJOR));
}

TEST(LastError, CreatingEntriesSayWhyTheyMadeNothing) {
  const L2Scene scene = NewScene();
  ASSERT_NE(scene, 0u);
  EXPECT_EQ(lastError(), "");

  EXPECT_EQ(CreateSphere(scene + 1000, 0, 0, 0, 1), 0u);
  EXPECT_EQ(lastError(), "unknown scene handle " + std::to_string(scene + 1000));
  EXPECT_EQ(CreateSphere(scene, 0, 0, 0, -1), 0u);
  EXPECT_NE(lastError().find("argument was refused"), std::string::npos) << lastError();
  // A success in between clears the message; a refused mesh array sets it again.
  ASSERT_NE(CreateLight(scene), 0u);
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(CreateTriBag(scene, 0, nullptr, nullptr, 0, nullptr, 0), 0u);
  EXPECT_NE(lastError().find("argument was refused"), std::string::npos) << lastError();

  const L2Primitive sphere = CreateSphere(scene, 0, 0, 0, 1);
  ASSERT_NE(sphere, 0u);
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(CreateCSG(scene, L2_CSG_UNION, sphere, sphere + 77), 0u);
  EXPECT_EQ(lastError(), "unknown primitive handle " + std::to_string(sphere + 77));
  EXPECT_EQ(CreateCSG(scene, 9, sphere, sphere), 0u);
  EXPECT_EQ(lastError(), "unknown CSG operation 9");
  EXPECT_EQ(CreateTextureReference(scene, sphere), 0u);
  EXPECT_EQ(lastError(), "unknown texture handle " + std::to_string(sphere));

  // Entries that answer a result code leave the message alone.
  EXPECT_EQ(ScalePrim(scene, sphere + 77, 1, 1, 1), L2_ERROR_HANDLE);
  EXPECT_EQ(lastError(), "unknown texture handle " + std::to_string(sphere));
  EXPECT_EQ(FreeScene(scene), L2_OK);
  EXPECT_EQ(CreateLight(scene), 0u);
  EXPECT_EQ(lastError(), "unknown scene handle " + std::to_string(scene));
}

TEST(LastError, EachThreadHasItsOwn) {
  EXPECT_EQ(CreateView(0), 0u);
  const std::string mine = lastError();
  ASSERT_EQ(mine, "unknown scene handle 0");
  std::string fresh, theirs;
  std::thread other([&] {
    fresh = lastError();
    EXPECT_EQ(CreateBox(0, 0, 0, 0, 1, 1, 1), 0u);
    theirs = lastError();
  });
  other.join();
  EXPECT_EQ(fresh, "");
  EXPECT_NE(theirs, "");
  EXPECT_EQ(lastError(), mine);

  const L2Scene scene = NewScene();
  ASSERT_NE(CreateDisc(scene, 0, 0, 0, 0, 1, 0, 0, 1), 0u);
  std::thread failing([&] { EXPECT_EQ(CreateDisc(scene, 0, 0, 0, 0, 1, 0, 2, 1), 0u); });
  failing.join();
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(FreeScene(scene), L2_OK);
}

struct RenderingScene {
  L2Scene scene = 0;
  std::atomic<int> refused{0};
  std::atomic<int> pixels{0};
};

int32_t LUMETRA2_CALL createWhileRendering(int32_t, int32_t, const float*, void* user) {
  auto* state = static_cast<RenderingScene*>(user);
  const std::string expected = "scene " + std::to_string(state->scene) + " is rendering";
  if (CreateSphere(state->scene, 0, 0, 0, 1) == 0 && lastError() == expected) ++state->refused;
  ++state->pixels;
  return 0;
}

TEST(LastError, ARenderingSceneRefusesNewObjects) {
  RenderingScene state;
  state.scene = NewScene();
  const L2View view = CreateView(state.scene);
  ASSERT_EQ(SetViewResolution(state.scene, view, 8, 8), L2_OK);
  ASSERT_EQ(Render(state.scene, view, nullptr, 0, nullptr, createWhileRendering, &state), L2_OK);
  EXPECT_EQ(state.pixels.load(), 64);
  EXPECT_EQ(state.refused.load(), 64);
  EXPECT_NE(CreateSphere(state.scene, 0, 0, 0, 1), 0u);
  EXPECT_EQ(FreeScene(state.scene), L2_OK);
}

}  // namespace
