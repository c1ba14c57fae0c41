#include "platform/file_io.h"

#include <linux/capability.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/testing/child_process.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Names in the folder other than `keep`: temporaries a save left behind.
std::vector<std::string> OtherNames(const fs::path& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
  }
  return names;
}

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

// Root passes every permission check; without its capabilities it is held to the mode
// bits like any user (does nothing for other users).
void DropCapabilities() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (::syscall(SYS_capset, &header, data) != 0) throw std::runtime_error("capset failed");
}

TEST(AtomicFile, AWriterKilledMidSaveLeavesTheOldFileWholeAndALaterSaveWorks) {
  ScratchDirectory scratch;
  const fs::path file = scratch / "scene.json";
  const std::string old(100000, 'o');
  ASSERT_FALSE(WriteFileAtomically(file, old));

  int written[2];
  int never[2];
  ASSERT_EQ(::pipe(written), 0);
  ASSERT_EQ(::pipe(never), 0);
  const pid_t child = StartChild([&] {
    std::error_code error;
    AtomicFile save(file, error);
    if (error) return 1;
    const std::string chunk(1 << 16, 'n');
    for (int i = 0; i < 8; ++i) {
      if (save.Write(chunk)) return 2;
    }
    char byte = 1;
    if (::write(written[1], &byte, 1) != 1) return 3;
    ::read(never[0], &byte, 1);  // blocks: the parent holds the write end and kills us here
    return 4;
  });
  char byte = 0;
  ASSERT_EQ(::read(written[0], &byte, 1), 1);
  ::kill(child, SIGKILL);
  EXPECT_EQ(WaitForChild(child), -1);
  for (int fd : {written[0], written[1], never[0], never[1]}) ::close(fd);

  EXPECT_EQ(Contents(file), old);
  const std::vector<std::string> left = OtherNames(scratch.Path(), "scene.json");
  ASSERT_EQ(left.size(), 1u);  // the killed writer's partial temporary
  EXPECT_EQ(fs::file_size(scratch / left[0]), 8u << 16);

  ASSERT_FALSE(WriteFileAtomically(file, "fresh"));
  EXPECT_EQ(Contents(file), "fresh");
}

TEST(AtomicFile, KeepsTheModeOfTheFileItReplacesAndGivesANewOneTheUsualMode) {
  ScratchDirectory scratch;
  const fs::path file = scratch / "settings.ini";
  ASSERT_FALSE(WriteFileAtomically(file, "one"));
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(ModeOf(file), 0666 & ~mask);

  fs::permissions(file, fs::perms(0640));
  ASSERT_FALSE(WriteFileAtomically(file, "two"));
  EXPECT_EQ(ModeOf(file), 0640u);
  fs::permissions(file, fs::perms(0604));
  ASSERT_FALSE(WriteFileAtomically(file, "three"));
  EXPECT_EQ(ModeOf(file), 0604u);
  EXPECT_EQ(Contents(file), "three");
}

TEST(AtomicFile, SavingThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
  ScratchDirectory scratch;
  fs::create_directory(scratch / "real");
  const fs::path target = scratch / "real" / "walk.json";
  ASSERT_FALSE(WriteFileAtomically(target, "old"));
  fs::create_symlink("real/walk.json", scratch / "walk.json");
  fs::create_symlink(scratch / "walk.json", scratch / "chain.json");

  ASSERT_FALSE(WriteFileAtomically(scratch / "chain.json", "new"));
  EXPECT_TRUE(fs::is_symlink(scratch / "walk.json"));
  EXPECT_TRUE(fs::is_symlink(scratch / "chain.json"));
  EXPECT_EQ(Contents(target), "new");
  EXPECT_EQ(OtherNames(scratch / "real", "walk.json"), std::vector<std::string>{});

  // A dangling link gets the file it names.
  fs::create_symlink("real/later.json", scratch / "later.json");
  ASSERT_FALSE(WriteFileAtomically(scratch / "later.json", "made"));
  EXPECT_TRUE(fs::is_symlink(scratch / "later.json"));
  EXPECT_EQ(Contents(scratch / "real" / "later.json"), "made");

  fs::create_symlink("loop-b", scratch / "loop-a");
  fs::create_symlink("loop-a", scratch / "loop-b");
  EXPECT_EQ(WriteFileAtomically(scratch / "loop-a", "x"), std::errc::too_many_symbolic_link_levels);
}

TEST(AtomicFile, AReadOnlyFolderRefusesTheSaveAndKeepsTheOldFile) {
  ScratchDirectory scratch;
  const fs::path folder = scratch / "locked";
  fs::create_directory(folder);
  ASSERT_FALSE(WriteFileAtomically(folder / "keys.dat", "old"));
  fs::permissions(folder, fs::perms(0555));
  const pid_t child = StartChild([&] {
    DropCapabilities();
    const std::error_code error = WriteFileAtomically(folder / "keys.dat", "new");
    return error == std::errc::permission_denied ? 0 : 1;
  });
  EXPECT_EQ(WaitForChild(child), 0);
  fs::permissions(folder, fs::perms(0755));
  EXPECT_EQ(Contents(folder / "keys.dat"), "old");
  EXPECT_EQ(OtherNames(folder, "keys.dat"), std::vector<std::string>{});
}

TEST(AtomicFile, AFailedCommitOrAnUncommittedFileLeavesNoTemporary) {
  ScratchDirectory scratch;
  fs::create_directory(scratch / "frames");
  std::error_code error;
  {
    AtomicFile file(scratch / "frames", error);  // a folder cannot be replaced by a file
    ASSERT_FALSE(error);
    ASSERT_FALSE(file.Write("bytes"));
    EXPECT_EQ(file.Commit(), std::errc::is_a_directory);
    EXPECT_EQ(file.Commit(), std::errc::bad_file_descriptor);
  }
  {
    AtomicFile file(scratch / "dropped.png", error);
    ASSERT_FALSE(error);
    std::FILE* stream = file.Stream(error);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(std::fputs("half a picture", stream), 1);
  }
  EXPECT_EQ(OtherNames(scratch.Path(), "frames"), std::vector<std::string>{});
  EXPECT_TRUE(fs::is_directory(scratch / "frames"));

  AtomicFile missingFolder(scratch / "no" / "such.png", error);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST(AtomicFile, StreamAndDirectWritesLandInOrder) {
  ScratchDirectory scratch;
  std::error_code error;
  AtomicFile file(scratch / "out.ppm", error);
  ASSERT_FALSE(error);
  ASSERT_FALSE(file.Write("P6 "));
  std::FILE* stream = file.Stream(error);
  ASSERT_NE(stream, nullptr);
  std::fputs("1 1 ", stream);
  ASSERT_FALSE(file.Write("255\n"));
  ASSERT_FALSE(file.Commit());
  EXPECT_EQ(Contents(scratch / "out.ppm"), "P6 1 1 255\n");
}

TEST(ReplaceFile, PutsAFinishedFileInPlaceThroughALinkWithTheOldMode) {
  ScratchDirectory scratch;
  const fs::path target = scratch / "picture.png";
  ASSERT_FALSE(WriteFileAtomically(target, "old"));
  fs::permissions(target, fs::perms(0600));
  fs::create_symlink("picture.png", scratch / "latest.png");
  ASSERT_FALSE(WriteFileAtomically(scratch / "staged.png", "new"));

  ASSERT_FALSE(ReplaceFile(scratch / "staged.png", scratch / "latest.png"));
  EXPECT_TRUE(fs::is_symlink(scratch / "latest.png"));
  EXPECT_EQ(Contents(target), "new");
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_FALSE(fs::exists(scratch / "staged.png"));
  EXPECT_EQ(ReplaceFile(scratch / "staged.png", target), std::errc::no_such_file_or_directory);
  EXPECT_EQ(Contents(target), "new");
}

TEST(ReadFileBounded, ReadsAFileUpToTheLimitAndRefusesALargerOne) {
  ScratchDirectory scratch;
  const fs::path file = scratch / "data";
  ASSERT_FALSE(WriteFileAtomically(file, std::string(100, 'b')));
  std::string contents = "stale";
  ASSERT_FALSE(ReadFileBounded(file, 100, contents));
  EXPECT_EQ(contents, std::string(100, 'b'));
  EXPECT_EQ(ReadFileBounded(file, 99, contents), std::errc::file_too_large);
  EXPECT_EQ(ReadFileBounded(scratch / "missing", 100, contents), std::errc::no_such_file_or_directory);
  EXPECT_EQ(ReadFileBounded(scratch.Path(), 100, contents), std::errc::is_a_directory);
}

TEST(IsWritableFile, AFileWithoutWriteBitsIsReadOnlyForEveryone) {
  ScratchDirectory scratch;
  const std::filesystem::path file = scratch / "walk.avi";
  std::ofstream(file) << "frames";
  EXPECT_TRUE(IsWritableFile(file));
  std::filesystem::permissions(file,
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  EXPECT_FALSE(IsWritableFile(file));
  EXPECT_FALSE(IsWritableFile(scratch / "missing.avi"));
}

}  // namespace
}  // namespace lumetra::platform
