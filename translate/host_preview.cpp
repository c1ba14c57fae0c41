#include "translate/host_preview.h"

#include <atomic>

#include "abi/result_codes.h"

namespace lumetra::translate {
namespace {

std::atomic<const render::RenderJob*> previewHolder{nullptr};

bool CanShowRender(const abi::SceneRecord& host, int32_t view, abi::PreviewRecord& preview) {
  preview = abi::PreviewRecord{};
  preview.version = abi::kPreviewRecordVersion;
  return host.getPreviewInfo(view, &preview) == abi::kOk && preview.capable != 0 && preview.putPixel &&
         preview.changed;
}

}  // namespace

bool ClaimHostPreview(render::RenderJob& job, const abi::SceneRecord& host) {
  if (job.animation || job.kind != render::RendererKind::Library || !host.getPreviewInfo) return false;
  if (previewHolder.load() != nullptr) return false;
  for (int32_t view = 0; view < abi::kViewCount; ++view) {
    abi::PreviewRecord preview;
    if (!CanShowRender(host, view, preview)) continue;
    const render::RenderJob* expected = nullptr;
    if (!previewHolder.compare_exchange_strong(expected, &job)) return false;
    job.preview = {true, view, preview.aspect, preview.putPixel, preview.changed};
    return true;
  }
  return false;
}

void ReleaseHostPreview(render::RenderJob& job) {
  const render::RenderJob* expected = &job;
  if (previewHolder.compare_exchange_strong(expected, nullptr)) job.preview.on = false;
}

const render::RenderJob* HostPreviewHolder() { return previewHolder.load(); }

}  // namespace lumetra::translate
