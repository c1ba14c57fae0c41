#pragma once

#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::translate {

// The host has one preview window: at most one job of the process shows its picture
// there while it renders. The slot names that job.

// Takes the host's preview for a still render-library job when no other job holds it:
// the first of the host's four views that is a preview-capable window with both
// preview callbacks. True when the job now holds it (its preview record is filled).
bool ClaimHostPreview(render::RenderJob& job, const abi::SceneRecord& host);

// Frees the slot when job holds it and turns the job's preview off.
void ReleaseHostPreview(render::RenderJob& job);

// The job in the slot, null when it is free.
const render::RenderJob* HostPreviewHolder();

}  // namespace lumetra::translate
