#pragma once

#include <cstdint>

#include "abi/scene_record.h"
#include "keyframe/scene_animation.h"
#include "render/render_job.h"

namespace lumetra::plugin {

// Fills an animation job's range from the animation's start and end time and takes
// over what the host asks of this run (abi/animation_run_record.h): output choice and
// path, compressor settings, frame rate, range, dropping the last frame. A range that
// ends before it starts (a scene keyed but never given one) runs to the last key.
// Without a path from the host, numbered pictures take the settings' output base name
// (a movie is named after the scene).
void PrepareAnimationRun(render::RenderJob& job, const abi::SceneRecord& host,
                         const keyframe::SceneAnimation& animation);

// The camera rule of an animation: a camera without keys that follows an animated
// object is keyed at time 0 (step interpolation, with its whole tree), so that every
// frame aims it anew.
void KeyFollowingCamera(const render::RenderJob& job, keyframe::SceneAnimation& animation);

}  // namespace lumetra::plugin
