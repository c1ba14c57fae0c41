#include "font/testing/system_fonts.h"

#include <stdio.h>

#include <array>
#include <filesystem>

namespace lumetra::font::testing {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ListedByFontconfig(const std::string& fileName) {
  FILE* list = ::popen("fc-list --format '%{file}\\n' 2>/dev/null", "r");
  if (list == nullptr) return std::nullopt;
  std::optional<std::string> found;
  std::array<char, 4096> line{};
  while (!found && ::fgets(line.data(), static_cast<int>(line.size()), list) != nullptr) {
    std::string path(line.data());
    if (!path.empty() && path.back() == '\n') path.pop_back();
    if (fs::path(path).filename() == fileName) found = path;
  }
  ::pclose(list);
  return found;
}

}  // namespace

std::optional<std::string> SystemFont(const std::string& fileName) {
  for (const char* folder : {"/usr/share/fonts/truetype/liberation", "/usr/share/fonts/truetype/dejavu"}) {
    const fs::path path = fs::path(folder) / fileName;
    std::error_code error;
    if (fs::is_regular_file(path, error)) return path.string();
  }
  return ListedByFontconfig(fileName);
}

std::string MissingFont(const std::string& fileName) {
  return fileName + " is not installed (fonts-liberation, fonts-dejavu-core)";
}

}  // namespace lumetra::font::testing
