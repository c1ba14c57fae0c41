#pragma once

#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::translate {

// Reads the host's render settings into the job, whatever its renderer: the host
// display and show-window flags, the image size and anti-aliasing, and for a still job
// the output file type from the host's output-format letter. A host that does not
// answer gives a 320 by 240 image in a shown window.
void ReadRenderSettings(render::RenderJob& job, const abi::SceneRecord& host);

// Render-library jobs: the ray epsilon, then the host's environment (background,
// ambient light, tracing depth and weight, the name of the scene-wide media).
void ReadEnvironment(render::RenderJob& job, const abi::SceneRecord& host);

// The file output choice of the host's output-format letter.
render::FileOutput OutputOfFormatLetter(uint32_t letter);

}  // namespace lumetra::translate
