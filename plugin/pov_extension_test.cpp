// Registering the POV-Ray extension in POV-Ray's configuration file.
#include "plugin/pov_extension.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

using platform::RegistryAccess;
using platform::RegistryKey;
using platform::RegistryRoot;

class PovExtensionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "plugins");
    std::filesystem::create_directories(dir_ / "pov" / "ini");
    std::ofstream(dir_ / "plugins" / "Torvane.dll") << "extension";
    SetString(RegistryRoot::CurrentUser, "Software\\Ostrana\\Zarvel For Windows\\Config", "PluginsPath",
              PluginsPath());
    SetString(RegistryRoot::LocalMachine, "Software\\POV-Ray\\CurrentVersion\\Windows", "Home",
              (dir_ / "pov").string());
  }
  void SetString(RegistryRoot root, const char* path, const char* name, const std::string& value) {
    RegistryKey key;
    ASSERT_EQ(registry_.CreateKey(root, path, RegistryAccess::All, key), platform::ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(name, value), platform::ERROR_SUCCESS);
  }
  std::string PluginsPath() const { return (dir_ / "plugins").string() + "/"; }
  std::filesystem::path Ini() const { return dir_ / "pov" / "ini" / "pvengine.ini"; }
  void WriteIni(const std::string& text) { std::ofstream(Ini(), std::ios::binary) << text; }
  std::string ReadIni() const {
    std::ifstream in(Ini(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  platform::ScratchDirectory dir_;
  platform::Registry registry_{dir_ / "user", dir_ / "machine"};
};

TEST_F(PovExtensionTest, FreeSlotGetsTheExtensionsFullPath) {
  WriteIni("; POV-Ray settings\r\n[GUIExtensions]\r\nUseExtensions=1\r\n[Other]\r\nA=b\r\n");
  plugin::RegisterPovExtension(registry_);
  const std::string ini = ReadIni();
  EXPECT_NE(ini.find("ExtDll29=" + PluginsPath() + "Torvane.dll"), std::string::npos) << ini;
  EXPECT_NE(ini.find("; POV-Ray settings\r\n"), std::string::npos);
  EXPECT_NE(ini.find("[Other]\r\nA=b"), std::string::npos);
}

TEST_F(PovExtensionTest, NotSetYetSlotIsTaken) {
  WriteIni("[GUIExtensions]\nUseExtensions=1\nExtDll29=NotSetYet\n");
  plugin::RegisterPovExtension(registry_);
  EXPECT_EQ(ReadIni(), "[GUIExtensions]\nUseExtensions=1\nExtDll29=" + PluginsPath() + "Torvane.dll\n");
}

TEST_F(PovExtensionTest, NothingIsWrittenWhenItMustNotBe) {
  const std::string extensionsOff = "[GUIExtensions]\nUseExtensions=0\n";
  WriteIni(extensionsOff);
  plugin::RegisterPovExtension(registry_);
  EXPECT_EQ(ReadIni(), extensionsOff);

  const std::string slotTaken = "[GUIExtensions]\nUseExtensions=1\nExtDll29=C:\\other\\ext.dll\n";
  WriteIni(slotTaken);
  plugin::RegisterPovExtension(registry_);
  EXPECT_EQ(ReadIni(), slotTaken);

  const std::string free = "[GUIExtensions]\nUseExtensions=1\n";
  WriteIni(free);
  std::filesystem::remove(dir_ / "plugins" / "Torvane.dll");
  plugin::RegisterPovExtension(registry_);
  EXPECT_EQ(ReadIni(), free);
}

TEST_F(PovExtensionTest, MissingPovRayKeyEndsQuietly) {
  ASSERT_EQ(registry_.DeleteKey(RegistryRoot::LocalMachine, "Software\\POV-Ray\\CurrentVersion\\Windows"),
            platform::ERROR_SUCCESS);
  plugin::RegisterPovExtension(registry_);
  EXPECT_FALSE(std::filesystem::exists(Ini()));
}

}  // namespace
}  // namespace lumetra
