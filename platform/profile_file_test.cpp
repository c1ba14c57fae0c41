#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/debug_log.h"
#include "platform/profile_text.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  ScratchDirectory directory;
  std::filesystem::path path = directory / "pvengine.ini";
  ProfileFile profile{path};
};

TEST_F(ProfileFileTest, ReadsSectionsAndKeysWithoutRegardToCase) {
  Write(
      "; POV-Ray settings\n"
      "[GUIExtensions]\n"
      "  UseExtensions = 1  \n"
      "ExtDll28=\"/opt/other ext.so\"\n"
      ";ExtDll29=commented\n"
      "[guiextensions]\n"
      "Later=ignored, only the first section counts\n");
  EXPECT_EQ(profile.GetString("guiEXTENSIONS", "useextensions", "0", 256), "1");
  EXPECT_EQ(profile.GetString("GUIExtensions", "ExtDll28", "", 256), "/opt/other ext.so");
  EXPECT_EQ(profile.GetString("GUIExtensions", "ExtDll29", "NotSetYet", 256), "NotSetYet");
  EXPECT_EQ(profile.GetString("GUIExtensions", "Later", "none", 256), "none");
  EXPECT_EQ(profile.GetString("Missing", "Key", "default  ", 256), "default");
}

TEST_F(ProfileFileTest, CutsTheResultToTheBufferLikeTheWindowsCall) {
  Write("[S]\nKey=abcdef\n");
  EXPECT_EQ(profile.GetString("S", "Key", "", 4), "abc");
  EXPECT_EQ(profile.GetString("S", "Key", "", 7), "abcdef");
  EXPECT_EQ(profile.GetString("S", "Key", "", 1), "");
  EXPECT_EQ(profile.GetString("S", "Key", "", 0), "");
  EXPECT_EQ(profile.GetString("S", "Nope", "NotSetYet", 4), "Not");
}

TEST_F(ProfileFileTest, MissingFileReadsAsEmptyAndTheFirstWriteCreatesIt) {
  EXPECT_EQ(profile.GetString("GUIExtensions", "UseExtensions", "0", 256), "0");
  ASSERT_FALSE(profile.WriteString("GUIExtensions", "ExtDll29", "/opt/zarvel/Torvane.so"));
  EXPECT_EQ(ReadAll(path), "[GUIExtensions]\nExtDll29=/opt/zarvel/Torvane.so\n");
}

TEST_F(ProfileFileTest, WritingChangesOnlyTheOneLineAndKeepsEverythingElse) {
  const std::string before =
      "; comment\n"
      "\n"
      "[GUIExtensions]\n"
      "UseExtensions=1\n"
      "ExtDll29 = NotSetYet\n"
      "\n"
      "[Other]\n"
      "x=y";
  Write(before);
  ASSERT_FALSE(profile.WriteString("guiextensions", "EXTDLL29", "/p/Torvane.so"));
  std::string expected = before;
  expected.replace(expected.find("NotSetYet"), 9, "/p/Torvane.so");
  EXPECT_EQ(ReadAll(path), expected);

  // A new key goes after the section's last line, before the blank separator.
  ASSERT_FALSE(profile.WriteString("GUIExtensions", "ExtDll30", "z"));
  expected.insert(expected.find("\n\n[Other]") + 1, "ExtDll30=z\n");
  EXPECT_EQ(ReadAll(path), expected);

  // A new section goes at the end; the last line gets the ending it lacked.
  ASSERT_FALSE(profile.WriteString("New", "k", "v"));
  EXPECT_EQ(ReadAll(path), expected + "\n[New]\nk=v\n");
}

TEST_F(ProfileFileTest, KeepsCrlfLineEndingsAndUsesThemForAddedLines) {
  Write("[GUIExtensions]\r\nUseExtensions=1\r\n\r\n[Last]\r\n");
  ASSERT_FALSE(profile.WriteString("GUIExtensions", "ExtDll29", "/p/Torvane.so"));
  ASSERT_FALSE(profile.WriteString("Last", "a", "b"));
  EXPECT_EQ(ReadAll(path),
            "[GUIExtensions]\r\nUseExtensions=1\r\nExtDll29=/p/Torvane.so\r\n\r\n[Last]\r\na=b\r\n");
  EXPECT_EQ(profile.GetString("GUIExtensions", "UseExtensions", "0", 256), "1");
}

TEST_F(ProfileFileTest, RefusesTextThatWouldBreakTheFileAndLeavesItAlone) {
  Write("[S]\nk=v\n");
  EXPECT_EQ(profile.WriteString("S", "k", "two\nlines"), std::errc::invalid_argument);
  EXPECT_EQ(profile.WriteString("S", "a=b", "v"), std::errc::invalid_argument);
  EXPECT_EQ(profile.WriteString("S]", "k", "v"), std::errc::invalid_argument);
  EXPECT_EQ(profile.WriteString("S", "  ", "v"), std::errc::invalid_argument);
  EXPECT_EQ(ReadAll(path), "[S]\nk=v\n");
}

TEST_F(ProfileFileTest, AnUnreadableFileGivesTheDefaultAndIsNotReplaced) {
  std::filesystem::create_directory(path);  // reading a directory fails
  DebugLog::Clear();
  EXPECT_EQ(profile.GetString("S", "k", "fallback", 64), "fallback");
  ASSERT_FALSE(DebugLog::Lines().empty());
  EXPECT_NE(DebugLog::Lines().back().find(path.string()), std::string::npos);
  EXPECT_TRUE(profile.WriteString("S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ProfileText, TextWithoutChangesComesBackByteForByte) {
  const std::string samples[] = {
      "", "\n", "\r\n\r\n", "no newline", "[a]\r\nb=c\nmixed\r\n", "\r\r\n=\n[\n]"};
  for (const std::string& sample : samples) EXPECT_EQ(ProfileText(sample).Text(), sample);
}

TEST(ProfileText, AStrayCarriageReturnIsABlankSoAnAddedLineFeedChangesNothing) {
  ProfileText text("[gUIExtensions\r");
  text.Set("GUIExtensions", "ExtDll29", "x");
  EXPECT_EQ(text.Text(), "[gUIExtensions\r\nExtDll29=x\n");
  EXPECT_EQ(ProfileText(text.Text()).Find("guiextensions", "extdll29"), "x");
}

}  // namespace
}  // namespace lumetra::platform
