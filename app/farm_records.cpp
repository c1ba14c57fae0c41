#include "app/farm_records.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "host/file_finder.h"
#include "host/scene_file.h"
#include "host/scene_relocation.h"
#include "image/image.h"
#include "image/image_loader.h"
#include "platform/file_io.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;

// Pictures and records are read whole; a frame of 16384 x 16384 BGRA fits.
constexpr size_t kLargestFile = size_t{1} << 31;

std::optional<std::string> ReadWhole(const fs::path& path) {
  std::string contents;
  if (platform::ReadFileBounded(path, kLargestFile, contents)) return std::nullopt;
  return contents;
}

}  // namespace

const char* FrameStateName(FrameState state) {
  switch (state) {
    case FrameState::Good:
      return "good";
    case FrameState::Missing:
      return "missing";
    case FrameState::Damaged:
      return "damaged";
    case FrameState::Stale:
      return "stale";
  }
  return "?";
}

std::string HashText(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::optional<std::string> HashFile(const fs::path& path) {
  const std::optional<std::string> contents = ReadWhole(path);
  if (!contents) return std::nullopt;
  return HashText(*contents);
}

fs::path RecordPathOf(const fs::path& picture) { return fs::path(picture.string() + ".made"); }

FrameState JudgeFrame(const fs::path& picture, const FrameOrigin& wanted) {
  std::error_code error;
  if (!fs::is_regular_file(picture, error)) return FrameState::Missing;
  image::Image loaded;
  if (!image::LoadImage(loaded, picture.string())) return FrameState::Damaged;
  const std::optional<std::string> text = ReadWhole(RecordPathOf(picture));
  if (!text) return FrameState::Stale;
  const nlohmann::json record = nlohmann::json::parse(*text, nullptr, false);
  if (!record.is_object()) return FrameState::Stale;
  const FrameOrigin made{record.value("scene", ""), record.value("settings", ""),
                         record.value("version", "")};
  if (made != wanted) return FrameState::Stale;
  return HashFile(picture) == record.value("picture", "") ? FrameState::Good : FrameState::Damaged;
}

bool RecordFrame(const fs::path& picture, const FrameOrigin& origin) {
  const std::optional<std::string> hash = HashFile(picture);
  if (!hash) return false;
  const nlohmann::json record = {{"scene", origin.scene},
                                 {"settings", origin.settings},
                                 {"version", origin.version},
                                 {"picture", *hash}};
  return !platform::WriteFileAtomically(RecordPathOf(picture), record.dump() + "\n");
}

}  // namespace lumetra::app

namespace lumetra::app {

FrameOrigin OriginOf(const std::string& scenePath, const std::string& settings) {
  host::Scene scene = host::LoadScene(scenePath);
  std::string hashes = HashFile(scenePath).value_or("");
  const host::FileFinder finder(host::FolderOf(scenePath), scene.searchPaths);
  host::RewriteFileNames(scene, [&](int32_t kind, const std::string& name) {
    const std::optional<std::string> found = finder.Find(kind, name);
    hashes += " " + (found ? HashFile(*found).value_or("unreadable") : "missing");
    return name;
  });
  return {HashText(hashes), HashText(settings), LUMETRA_VERSION};
}

}  // namespace lumetra::app
