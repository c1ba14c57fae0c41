#include "render/output_path.h"

#include <cstring>

namespace lumetra::render {
namespace {

std::string Field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

}  // namespace

std::string BaseNameWithoutExtension(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

std::string StillOutputPath(const RenderJob& job, const abi::RenderSettingsRecord* host) {
  const std::string directory =
      host ? Field(host->outputDirectory, sizeof host->outputDirectory) : std::string();
  std::string name = job.outputPath;
  if (name.empty()) {
    name = host ? BaseNameWithoutExtension(Field(host->sceneFile, sizeof host->sceneFile)) : "";
    if (name.empty()) name = "out";
  }
  return (directory + name).substr(0, RenderJob::kMaxOutputPath);
}

}  // namespace lumetra::render
