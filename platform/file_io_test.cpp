#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/testing/scratch_directory.h"

namespace platform {
namespace {

TEST(IsWritableFile, AFileWithoutWriteBitsIsReadOnlyForEveryone) {
  ScratchDirectory scratch;
  const std::filesystem::path file = scratch / "walk.avi";
  std::ofstream(file) << "frames";
  EXPECT_TRUE(IsWritableFile(file));
  std::filesystem::permissions(file,
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  EXPECT_FALSE(IsWritableFile(file));
  EXPECT_FALSE(IsWritableFile(scratch / "missing.avi"));
}

}  // namespace
}  // namespace platform
