#include "host/file_finder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "abi/scene_record.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::vector<std::string> SplitSearchPath(const char* text) {
  std::vector<std::string> folders;
  std::string current;
  for (const char* c = text; c && *c; ++c) {
    if (*c == ':') {
      if (!current.empty()) folders.push_back(current);
      current.clear();
    } else {
      current += *c;
    }
  }
  if (!current.empty()) folders.push_back(current);
  return folders;
}

// The system's TrueType folders and their direct subfolders (one per font family).
std::vector<std::string> FontFolders() {
  std::vector<std::string> folders;
  for (const char* root : {"/usr/share/fonts/truetype", "/usr/local/share/fonts"}) {
    std::error_code error;
    if (!fs::is_directory(root, error)) continue;
    folders.push_back(root);
    for (const auto& entry : fs::directory_iterator(root, error)) {
      if (entry.is_directory(error)) folders.push_back(entry.path().string());
    }
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::optional<std::string> FindIn(const std::vector<std::string>& folders, const fs::path& name) {
  for (const std::string& folder : folders) {
    for (const fs::path& candidate : {fs::path(folder) / name, fs::path(folder) / name.filename()}) {
      if (IsFile(candidate)) return candidate.lexically_normal().string();
    }
  }
  return std::nullopt;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? "." : folder.string();
}

FileFinder::FileFinder(std::string sceneFolder, const std::vector<std::string>& folders) {
  folders_.push_back(sceneFolder);
  for (const std::string& folder : folders) {
    const fs::path path(folder);
    folders_.push_back(path.is_absolute() ? folder : (fs::path(sceneFolder) / path).string());
  }
}

std::optional<std::string> FileFinder::Find(int32_t kind, const std::string& name) const {
  if (name.empty()) return std::nullopt;
  std::string portable = name;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const fs::path path(portable);
  if (path.is_absolute()) {
    if (IsFile(path)) return portable;
  }
  if (auto found = FindIn(folders_, path.relative_path())) return found;
  if (auto found = FindIn(SplitSearchPath(std::getenv("LUMETRA_SEARCH_PATH")), path.relative_path())) {
    return found;
  }
  if (kind == abi::kFindFont) return FindIn(FontFolders(), path.filename());
  return std::nullopt;
}

}  // namespace lumetra::host
