#pragma once

#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::translate {

// Translates the host's scene into the job on the caller's thread, before the job's
// threads start. The job enters "Processing"; an output base name (for any output but
// AVI) becomes its output path; the host's render settings are read. For a
// render-library job (its scene made already) follow the environment, the host's
// preview, the view of the active camera, the materials as user textures and volumes,
// every object and light, and a white matte default texture; the fonts that text
// objects loaded are released. Names filed with the library are kept in the job.
void TranslateJob(render::RenderJob& job, const abi::SceneRecord& host);

}  // namespace lumetra::translate
