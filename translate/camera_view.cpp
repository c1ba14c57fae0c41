#include "translate/camera_view.h"

#include <cmath>
#include <numbers>

#include "translate/host_object.h"
#include "translate/library_result.h"
#include "translate/name_filing.h"

namespace lumetra::translate {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

std::unique_ptr<HostObject> ActiveCamera(const abi::SceneRecord& host) {
  for (const std::uint32_t id : ListedObjects(host, abi::kCameraList)) {
    std::unique_ptr<HostObject> camera = ReadHostObject(host, id);
    if (camera && camera->Type() == abi::kTypeCamera && camera->Shape().camera.active != 0) return camera;
  }
  return nullptr;
}

Point ToPoint(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

// A linked object moves the point by its own translation.
Point OffsetOf(const abi::SceneRecord& host, std::uint32_t id) {
  const std::unique_ptr<HostObject> linked = id != 0 ? ReadHostObject(host, id) : nullptr;
  return linked ? ToPoint(linked->params.translate) : Point{};
}

void SetUpView(render::RenderJob& job, L2View view, const HostObject& camera, const abi::SceneRecord& host) {
  const bool linked = camera.Shape().camera.ownTransformOnly == 0;
  AimView(job.scene, view, camera, linked ? OffsetOf(host, abi::CameraLocationObject(camera.info)) : Point{},
          linked ? OffsetOf(host, abi::CameraLookAtObject(camera.info)) : Point{});
  LogRefusal(SetViewVolumeResolution(job.scene, view, job.volumeStepSize), "SetViewVolumeResolution");
  LogRefusal(SetViewVolumeSteps(job.scene, view, job.volumeMinSteps, job.volumeMaxSteps),
             "SetViewVolumeSteps");
}

}  // namespace

void AimView(L2Scene scene, L2View view, const HostObject& camera, const Point& locationOffset,
             const Point& interestOffset) {
  const abi::CameraParams& params = camera.Shape().camera;
  LogRefusal(SetViewAngle(scene, view, ViewAngle(params.fieldOfView, params.aspect)), "SetViewAngle");
  LogRefusal(SetViewAspect(scene, view, -params.aspect), "SetViewAspect");
  Point location = ToPoint(camera.params.translate);
  Point interest = ToPoint(camera.params.rotate);
  SeparateFromInterest(location, interest);
  for (int axis = 0; axis < 3; ++axis) {
    location[axis] += locationOffset[axis];
    interest[axis] += interestOffset[axis];
  }
  LogRefusal(SetViewLocation(scene, view, location[0], location[1], location[2]), "SetViewLocation");
  LogRefusal(SetViewInterest(scene, view, interest[0], interest[1], interest[2]), "SetViewInterest");
  LogRefusal(SetViewUp(scene, view, params.up[0], params.up[1], params.up[2]), "SetViewUp");
}

void SeparateFromInterest(Point& location, const Point& interest) {
  if (location[0] != interest[0]) return;
  if (location[1] == interest[1] && location[2] == interest[2]) location[1] -= 0.1;
  if (location[1] == interest[1]) location[1] -= 0.001;
}

double ViewAngle(double fieldOfView, double aspect) {
  const double halfField = fieldOfView / 2.0 / kDegreesPerRadian;
  return 2.0 * std::atan(std::tan(halfField) / aspect) * kDegreesPerRadian;
}

void TranslateView(render::RenderJob& job, const abi::SceneRecord& host) {
  const std::unique_ptr<HostObject> camera = ActiveCamera(host);
  const L2View view = CreateView(job.scene);
  if (view == 0) return;
  // Without a camera the library's default view; the textures translated next light their
  // layers through it.
  job.view = view;
  if (!camera) return;
  job.camera = camera->id;
  job.locationObject = abi::CameraLocationObject(camera->info);
  job.lookAtObject = abi::CameraLookAtObject(camera->info);
  SetUpView(job, view, *camera, host);
  const std::string name = camera->Name();
  if (!name.empty()) FileName(job, name, view);
}

}  // namespace lumetra::translate
