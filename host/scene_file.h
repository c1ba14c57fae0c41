#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

// A scene file that cannot be used. The message names the file, the place in it (line
// and column for syntax errors, else the JSON pointer of the value) and the problem.
class SceneFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a scene file with every mesh it names; image and font files must exist.
// Throws SceneFileError; nothing of a failed file is kept.
Scene LoadScene(const std::string& path);

// Reads scene text that came from `path` (used for messages and to find files).
Scene ParseScene(const std::string& text, const std::string& path);

// The scene as scene-file JSON.
nlohmann::json SceneToJson(const Scene& scene);

// Writes the scene to `path` atomically: a temporary file in the same folder, flushed
// to disk, then renamed over the old one. Saved into another folder than its own, the
// scene's relative references are rewritten to hold from there (RelocateReferences).
// Throws SceneFileError on failure, leaving any old file as it was.
void SaveScene(const Scene& scene, const std::string& path);

constexpr const char* kSceneFormatName = "lumetra-scene";
constexpr int kSceneFormatVersion = 1;

}  // namespace lumetra::host
