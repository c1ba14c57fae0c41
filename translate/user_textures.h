#pragma once

#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::translate {

// Every material of the host's material list becomes a user texture of the job's scene,
// shaded by the procedural texture engine and filed under the material's name (a
// material without a name is dropped). The media of a material become volumes: the
// one named like the environment's media fills the scene, the others their texture.
void TranslateTextures(render::RenderJob& job, const abi::SceneRecord& host);

}  // namespace lumetra::translate
