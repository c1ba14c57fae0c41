#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::host {

// Finds the files a scene names (images, meshes, fonts): a name is tried as given when
// absolute, then in the scene's folder, then in the configured folders, then in the
// folders of $LUMETRA_SEARCH_PATH (colon-separated) and, for fonts, the system's
// TrueType folders. In each folder the name is tried as a relative path and then by its
// last component alone. Backslashes count as separators.
class FileFinder {
 public:
  // `folders` relative to `sceneFolder` are taken from there.
  FileFinder(std::string sceneFolder, const std::vector<std::string>& folders);

  std::optional<std::string> Find(int32_t kind, const std::string& name) const;
  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  std::vector<std::string> folders_;
};

// The folder part of a file path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace lumetra::host
