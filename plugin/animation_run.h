#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "abi/scene_record.h"
#include "animation/animate_thread.h"
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

// What an animation run does once its job is prepared.
struct RunPlan {
  std::vector<animation::Frame> frames;              // those to render, in order
  std::optional<animation::PictureSource> pictures;  // frames read instead of rendered
  bool listOnly = false;                             // the host asked only which frames there are
};

// The frames of the job's range at its rate, told to the host (kHostValueAnimationFrames),
// then narrowed to those the host picked for this run.
RunPlan PlanAnimationRun(const render::RenderJob& job, const abi::SceneRecord& host);

// The camera rule of an animation: a camera without keys that follows an animated
// object is keyed at time 0 (step interpolation, with its whole tree), so that every
// frame aims it anew.
void KeyFollowingCamera(const render::RenderJob& job, keyframe::SceneAnimation& animation);

}  // namespace lumetra::plugin
