#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra::app {

// What made a frame file: hashes of the scene with the files it names and of the
// settings that change pictures, and the program's version. Kept beside the picture as
// "<picture>.made" (JSON) with the picture's own hash, so that a rerun can tell a frame
// that is good from one that is stale or was damaged after it was written.
struct FrameOrigin {
  std::string scene;
  std::string settings;
  std::string version;
  bool operator==(const FrameOrigin&) const = default;
};

enum class FrameState { Good, Missing, Damaged, Stale };
const char* FrameStateName(FrameState state);

// 64-bit FNV-1a as 16 hex digits: stable across runs and machines, which a record needs.
std::string HashText(std::string_view bytes);
// Nothing when the file cannot be read.
std::optional<std::string> HashFile(const std::filesystem::path& path);

std::filesystem::path RecordPathOf(const std::filesystem::path& picture);

// Missing: no picture; damaged: it cannot be read as a picture, or it is not the one its
// record was written for; stale: no readable record, or another origin made it.
FrameState JudgeFrame(const std::filesystem::path& picture, const FrameOrigin& wanted);

// Writes the picture's record (atomically); false when the picture cannot be read.
bool RecordFrame(const std::filesystem::path& picture, const FrameOrigin& origin);

}  // namespace lumetra::app

namespace lumetra::app {

// The origin of frames rendered now from the scene file (read with every file it names)
// with `settings`, the text of the settings that change pictures. Throws
// host::SceneFileError when the scene cannot be read.
FrameOrigin OriginOf(const std::string& scenePath, const std::string& settings);

}  // namespace lumetra::app
