#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "render/animation_settings.h"
#include "render/job_list.h"
#include "render/render_job.h"
#include "render/render_settings.h"

namespace lumetra::render {

// Makes a job from the plug-in's settings and puts it on the list: the method, its
// flags, the transparency depth and volume values, the animation output settings, and
// for the render library's methods a new library scene from `newScene`. A second
// POV-Ray job while one is listed is refused with a message, and null returned.
std::shared_ptr<RenderJob> MakeJob(const RenderSettings& settings, const AnimationSettings& animation,
                                   JobList& jobs, const std::function<uint32_t()>& newScene);

// The message that refuses a POV-Ray job while another one's window is open.
void RefuseSecondPovJob();

}  // namespace lumetra::render
