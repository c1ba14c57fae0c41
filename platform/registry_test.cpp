#include "platform/registry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "platform/debug_log.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

constexpr const char* kConfigKey = "Software\\Ostrana\\Zarvel For Windows\\Config";

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool LogMentions(const std::string& needle) {
  for (const std::string& line : DebugLog::Lines()) {
    if (line.find(needle) != std::string::npos && line.back() == '\n') return true;
  }
  return false;
}

class RegistryTest : public ::testing::Test {
 protected:
  RegistryKey CreateKey(const std::string& path, RegistryAccess access = RegistryAccess::All) {
    RegistryKey key;
    EXPECT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, path, access, key), ERROR_SUCCESS);
    return key;
  }

  ScratchDirectory user;
  ScratchDirectory machine;
  Registry registry{user.Path(), machine.Path()};
};

TEST_F(RegistryTest, ValuesOfEachTypeSurviveAFreshRegistryObject) {
  const RegistryKey key = CreateKey("Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra");
  const std::vector<std::uint8_t> flags = {8, 0, 0, 0, 0xC6, 1, 0, 0};
  ASSERT_EQ(key.SetDword("RenderMethod", 4), ERROR_SUCCESS);
  ASSERT_EQ(key.SetBinary("ShadingFlags", flags), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("RIBRenderer", "rendrib.exe"), ERROR_SUCCESS);

  const Registry again(user.Path(), machine.Path());
  RegistryKey reopened;
  ASSERT_EQ(
      again.OpenKey(RegistryRoot::CurrentUser, "software\\OSTRANA\\zarvel for windows\\plugins\\lumetra",
                    RegistryAccess::Read, reopened),
      ERROR_SUCCESS);
  std::uint32_t method = 0;
  std::vector<std::uint8_t> readFlags;
  std::string renderer;
  EXPECT_EQ(reopened.QueryDword("renderMETHOD", method), ERROR_SUCCESS);
  EXPECT_EQ(method, 4u);
  EXPECT_EQ(reopened.QueryBinary("ShadingFlags", readFlags), ERROR_SUCCESS);
  EXPECT_EQ(readFlags, flags);
  EXPECT_EQ(reopened.QueryString("RIBRenderer", renderer, 128), ERROR_SUCCESS);
  EXPECT_EQ(renderer, "rendrib.exe");

  RegType type{};
  std::uint8_t dword[4] = {};
  std::uint32_t size = sizeof dword;
  EXPECT_EQ(reopened.QueryValue("RenderMethod", &type, dword, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, RegType::DWORD);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(dword[0], 4);
}

TEST_F(RegistryTest, TooSmallBufferGivesMoreDataAndTheNeededSize) {
  const RegistryKey key = CreateKey(kConfigKey);
  ASSERT_EQ(key.SetString("PluginsPath", "/opt/zarvel/plugins/"), ERROR_SUCCESS);
  char buffer[8] = {};
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(key.QueryValue("PluginsPath", nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 21u);  // 20 characters and the terminating NUL
  size = 0;
  EXPECT_EQ(key.QueryValue("PluginsPath", nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 21u);
  std::string text;
  EXPECT_EQ(key.QueryString("PluginsPath", text, 20), ERROR_MORE_DATA);
  EXPECT_EQ(key.QueryString("PluginsPath", text, 21), ERROR_SUCCESS);
  EXPECT_EQ(text, "/opt/zarvel/plugins/");
}

TEST_F(RegistryTest, TypedQueriesCheckTypeAndSize) {
  const RegistryKey key = CreateKey("Lumetra");
  const std::uint8_t floatBytes[4] = {0x00, 0x00, 0x70, 0x41};  // 15.0f kept as binary
  ASSERT_EQ(key.SetBinary("AVIFrameRateValue", floatBytes), ERROR_SUCCESS);
  ASSERT_EQ(key.SetBinary("Short", std::vector<std::uint8_t>{1, 2}), ERROR_SUCCESS);
  ASSERT_EQ(key.SetString("Name", "x"), ERROR_SUCCESS);
  std::uint32_t value = 0;
  EXPECT_EQ(key.QueryDword("AVIFrameRateValue", value), ERROR_SUCCESS);
  EXPECT_EQ(value, 0x41700000u);
  EXPECT_EQ(key.QueryDword("Short", value), ERROR_INVALID_DATA);
  EXPECT_EQ(key.QueryDword("Name", value), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(key.QueryDword("Missing", value), ERROR_FILE_NOT_FOUND);
  std::string text;
  EXPECT_EQ(key.QueryString("Short", text, 100), ERROR_UNSUPPORTED_TYPE);
}

TEST_F(RegistryTest, KeysOpenOnlyWhenPresentAndHandlesRespectTheirAccess) {
  RegistryKey key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kConfigKey, RegistryAccess::Read, key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.SetDword("x", 1), ERROR_INVALID_HANDLE);

  bool created = false;
  ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kConfigKey, RegistryAccess::Read, key, &created),
            ERROR_SUCCESS);
  EXPECT_TRUE(created);
  EXPECT_EQ(key.SetDword("x", 1), ERROR_ACCESS_DENIED);
  ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kConfigKey, RegistryAccess::Write, key, &created),
            ERROR_SUCCESS);
  EXPECT_FALSE(created);
  EXPECT_EQ(key.SetDword("x", 1), ERROR_SUCCESS);
  std::uint32_t value = 0;
  EXPECT_EQ(key.QueryDword("x", value), ERROR_ACCESS_DENIED);

  // Creating a key creates its parents.
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "Software\\Ostrana", RegistryAccess::Read, key),
            ERROR_SUCCESS);
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "\\Software", RegistryAccess::Read, key),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "Software\\\\Ostrana", RegistryAccess::Read, key),
            ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, DeletingValuesAndKeys) {
  const RegistryKey key = CreateKey("A\\B");
  ASSERT_EQ(key.SetDword("v", 7), ERROR_SUCCESS);
  EXPECT_EQ(key.DeleteValue("V"), ERROR_SUCCESS);
  EXPECT_EQ(key.DeleteValue("v"), ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, "A"), ERROR_ACCESS_DENIED);  // has a subkey
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, "a\\b"), ERROR_SUCCESS);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, "A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key.SetDword("v", 1), ERROR_KEY_DELETED);
  std::uint32_t value = 0;
  EXPECT_EQ(key.QueryDword("v", value), ERROR_KEY_DELETED);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, "A"), ERROR_SUCCESS);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, ""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, RefusesValuesThatCannotBeKept) {
  const RegistryKey key = CreateKey("K");
  const std::uint8_t three[3] = {1, 2, 3};
  EXPECT_EQ(key.SetValue("d", RegType::DWORD, three, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(key.SetValue("s", RegType::SZ, "\xff\xfe", 2), ERROR_INVALID_PARAMETER);  // not UTF-8
  EXPECT_EQ(key.SetValue("b", RegType::BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(key.SetString(std::string(kMaxValueNameLength + 1, 'n'), "x"), ERROR_INVALID_PARAMETER);
  // A string given with its terminator is kept without it.
  ASSERT_EQ(key.SetValue("s", RegType::SZ, "abc\0def", 8), ERROR_SUCCESS);
  std::string text;
  EXPECT_EQ(key.QueryString("s", text, 100), ERROR_SUCCESS);
  EXPECT_EQ(text, "abc");
}

TEST_F(RegistryTest, RootsLiveInSeparateDocumentedFiles) {
  RegistryKey machineKey;
  ASSERT_EQ(registry.CreateKey(RegistryRoot::LocalMachine, "Software\\POV-Ray\\CurrentVersion\\Windows",
                               RegistryAccess::All, machineKey),
            ERROR_SUCCESS);
  ASSERT_EQ(machineKey.SetString("Home", "/usr/share/povray"), ERROR_SUCCESS);
  ASSERT_EQ(machineKey.SetBinary("Blob", std::vector<std::uint8_t>{0, 255, 16}), ERROR_SUCCESS);
  RegistryKey userKey;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "Software\\POV-Ray", RegistryAccess::Read, userKey),
            ERROR_FILE_NOT_FOUND);

  const nlohmann::json document = nlohmann::json::parse(ReadAll(machine / Registry::kMachineFileName));
  const nlohmann::json& values = document["keys"]["Software\\POV-Ray\\CurrentVersion\\Windows"];
  EXPECT_EQ(values["Home"], (nlohmann::json{{"type", "SZ"}, {"data", "/usr/share/povray"}}));
  EXPECT_EQ(values["Blob"], (nlohmann::json{{"type", "BINARY"}, {"data", "AP8Q"}}));
}

TEST_F(RegistryTest, DamagedFileIsReportedThenMovedAsideNotOverwritten) {
  const std::filesystem::path file = user / Registry::kUserFileName;
  const std::string damaged = "{\"format\": \"lumetra-registry\", \"version\": 1, \"keys\": {";
  WriteAll(file, damaged);
  DebugLog::Clear();
  RegistryKey key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "", RegistryAccess::Read, key), ERROR_BADDB);
  EXPECT_TRUE(LogMentions(file.string()));
  EXPECT_EQ(ReadAll(file), damaged);  // reading never repairs

  ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kConfigKey, RegistryAccess::All, key),
            ERROR_SUCCESS);
  EXPECT_TRUE(LogMentions(".corrupt"));
  EXPECT_EQ(ReadAll(file.string() + ".corrupt"), damaged);
  EXPECT_EQ(key.SetDword("x", 1), ERROR_SUCCESS);

  // A second damaged file does not replace the first one set aside.
  WriteAll(file, "garbage");
  EXPECT_EQ(key.SetDword("y", 2), ERROR_KEY_DELETED);  // the fresh file has no such key
  EXPECT_EQ(ReadAll(file.string() + ".corrupt"), damaged);
  EXPECT_EQ(ReadAll(file.string() + ".corrupt.1"), "garbage");
}

TEST_F(RegistryTest, HostileDocumentsAreRefusedWithoutACrash) {
  const std::string hostile[] = {
      "",
      "[]",
      "{\"a\": 777777e77777}",
      std::string(100000, '['),
      "{\"format\":\"lumetra-registry\",\"version\":2,\"keys\":{}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":[]}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{\"v\":{\"type\":\"DWORD\",\"data\":"
      "4294967296}}}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{\"v\":{\"type\":\"DWORD\",\"data\":-1}"
      "}}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{\"v\":{\"type\":\"BINARY\",\"data\":"
      "\"A=B=\"}}}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{\"v\":{\"type\":\"QWORD\",\"data\":1}}"
      "}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\\\\\\\\B\":{}}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{},\"a\":{}}}",
      "{\"format\":\"lumetra-registry\",\"version\":1,\"keys\":{\"A\":{\"v\":{},\"V\":{}}}}",
  };
  const std::filesystem::path file = user / Registry::kUserFileName;
  for (const std::string& text : hostile) {
    WriteAll(file, text);
    RegistryKey key;
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "A", RegistryAccess::Read, key), ERROR_BADDB)
        << text.substr(0, 120);
  }
}

TEST_F(RegistryTest, AFileWithOnlyDeepKeysStillHasTheirParents) {
  WriteAll(user / Registry::kUserFileName,
           R"({"format":"lumetra-registry","version":1,"keys":{"A\\B\\C":{"v":{"type":"SZ","data":"x"}}}})");
  RegistryKey key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "A\\B", RegistryAccess::Read, key), ERROR_SUCCESS);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::CurrentUser, "A\\B"), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace lumetra::platform
