#include "render/output_path.h"

#include <cstring>

namespace lumetra::render {
namespace {

std::string Field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

}  // namespace

bool ReadRenderSettings(const abi::SceneRecord& host, abi::RenderSettingsRecord& settings) {
  settings = abi::RenderSettingsRecord{};
  settings.version = abi::kRenderSettingsVersion;
  return host.getRenderSettings && host.getRenderSettings(abi::kRenderSettingsSelector, &settings) == 0;
}

std::string BaseNameWithoutExtension(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

std::string OutputDirectory(const abi::RenderSettingsRecord* host) {
  return host ? Field(host->outputDirectory, sizeof host->outputDirectory) : std::string();
}

std::string SceneBaseName(const abi::RenderSettingsRecord* host) {
  const std::string name =
      host ? BaseNameWithoutExtension(Field(host->sceneFile, sizeof host->sceneFile)) : "";
  return name.empty() ? "out" : name;
}

std::string StillOutputPath(const RenderJob& job, const abi::RenderSettingsRecord* host) {
  const std::string name = job.outputPath.empty() ? SceneBaseName(host) : job.outputPath;
  return (OutputDirectory(host) + name).substr(0, RenderJob::kMaxOutputPath);
}

}  // namespace lumetra::render
