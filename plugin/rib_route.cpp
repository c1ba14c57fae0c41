#include "plugin/rib_route.h"

#include <unistd.h>

#include <filesystem>

#include "abi/result_codes.h"
#include "abi/rib_exporter_record.h"
#include "image/image_bgra.h"
#include "image/image_loader.h"
#include "platform/debug_log.h"
#include "render/output_path.h"

namespace lumetra::plugin {
namespace {

bool Fail(render::RenderJob& job, const char* line) {
  platform::DebugLog::Write(line);
  job.abort = 1;
  return false;
}

const abi::RibExporterRecord* FindExporter(const abi::SceneRecord& host) {
  void* found = nullptr;
  if (!host.findPlugin || host.findPlugin(&abi::kRibExporterId, &found) != abi::kOk || !found) return nullptr;
  const auto* exporter = static_cast<const abi::RibExporterRecord*>(found);
  return exporter->exportAndRender ? exporter : nullptr;
}

// Source row y (from the top) fills image row y; a picture smaller than the job fails.
bool CopyPicture(const image::Image& picture, render::ImageBuffer& target) {
  const int32_t width = target.Width(), height = target.Height();
  if (!target.Valid() || picture.Width() < width || picture.Height() < height) return false;
  const std::vector<uint8_t> bgra = image::ToBottomUpBgra(picture);
  const size_t stride = static_cast<size_t>(picture.Width()) * 4;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = bgra.data() + static_cast<size_t>(picture.Height() - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * 4;
      target.Put(x, y, p[2], p[1], p[0], p[3]);
    }
  }
  target.MarkAllChanged();
  return true;
}

}  // namespace

RibFile RibFileFor(const abi::RenderSettingsRecord* host) {
  if (!host) {
    const std::string folder = std::filesystem::temp_directory_path().string() + "/";
    return {folder + "lumetra-" + std::to_string(getpid()) + ".rib", static_cast<int32_t>(folder.size())};
  }
  const std::string folder = render::OutputDirectory(host);
  return {folder + render::SceneBaseName(host) + ".rib", static_cast<int32_t>(folder.size())};
}

bool RenderWithRib(render::RenderJob& job, const abi::SceneRecord& host) {
  const abi::RibExporterRecord* exporter = FindExporter(host);
  if (!exporter) return Fail(job, "Failed to find RIB Exporter plugin\n");
  abi::RenderSettingsRecord settings;
  const bool answered = render::ReadRenderSettings(host, settings);
  const RibFile file = RibFileFor(answered ? &settings : nullptr);
  char picture[abi::kRibImageNameBytes] = {};
  if (exporter->exportAndRender(job.ribRenderer.c_str(), file.path.c_str(), file.dirLength, picture) != 0) {
    return Fail(job, "Failed to render the RIB file\n");
  }
  picture[sizeof picture - 1] = '\0';
  image::Image loaded;
  if (image::LoadImage(loaded, picture) != 1 || !CopyPicture(loaded, job.image)) {
    return Fail(job, "Failed to load rendered RIB image\n");
  }
  return !job.Aborted();
}

}  // namespace lumetra::plugin
