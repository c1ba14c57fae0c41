#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace lumetra::host::testing {

// The frozen test scene with an object of nearly every kind, three lights, six materials and
// the mesh and images they name; tests of every module read it, none writes to its folder.
inline std::string EveryKindScenePath() {
  return std::string(LUMETRA_SOURCE_DIR) + "/testdata/scenes/every-kind/every-kind.json";
}

// A fresh empty folder under the test's temporary directory.
inline std::filesystem::path FreshFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() / ("lumetra-host-test-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A value of type T at a byte offset of a record, as the plug-in reads it.
template <typename T>
T At(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

}  // namespace lumetra::host::testing
