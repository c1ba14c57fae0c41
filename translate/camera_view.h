#pragma once

#include <array>

#include <lumetra2.h>

#include "abi/scene_record.h"
#include "render/render_job.h"
#include "translate/host_object.h"

namespace lumetra::translate {

using Point = std::array<double, 3>;

// The view of a render-library job from the host's active camera: the first camera of
// the host's camera list whose active flag is set. The job records the view, the
// camera and its two linked objects; a named camera files the view under its name.
// Without an active camera the job gets the library's default view, made here all the
// same, so that textures translated after it light their layers through it.
void TranslateView(render::RenderJob& job, const abi::SceneRecord& host);

// Aims the view as the camera's records say (view angle and aspect, location, interest
// point, up direction), its location and interest point moved by the offsets of the
// objects the camera follows.
void AimView(L2Scene scene, L2View view, const HostObject& camera, const Point& locationOffset,
             const Point& interestOffset);

// Nudges a camera that shares x with its interest point down in y: one sitting on its
// interest point by 0.1 (a view needs a direction), one level with it (same y) by 0.001.
void SeparateFromInterest(Point& location, const Point& interest);

// The library's vertical view angle (degrees) of a camera's field of view (degrees)
// over the image's aspect ratio.
double ViewAngle(double fieldOfView, double aspect);

}  // namespace lumetra::translate
