#include "host/scene_camera.h"

#include <cmath>
#include <numbers>

#include "abi/scene_record.h"

namespace lumetra::host {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The ray tracer's view without an active camera: 45 degrees high, 4:3.
constexpr double kDefaultVerticalAngle = 45;
constexpr double kDefaultAspect = 4.0 / 3.0;

math::Vector3 ToVector(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

// The translation of the object a camera point follows.
math::Vector3 Offset(const Scene& scene, uint32_t followed, bool linked) {
  const SceneObject* object = linked && followed != 0 ? scene.Find(followed) : nullptr;
  return object ? ToVector(object->params.translate) : math::Vector3{};
}

const SceneObject* ActiveCamera(const Scene& scene) {
  for (const uint32_t id : scene.List(abi::kCameraList)) {
    const SceneObject* camera = scene.Find(id);
    if (camera && camera->type == abi::kTypeCamera && camera->data.shape.camera.active != 0) return camera;
  }
  return nullptr;
}

}  // namespace

double VerticalAngle(double horizontalAngle, double aspect) {
  return 2 * std::atan(std::tan(horizontalAngle / 2 / kDegreesPerRadian) / aspect) * kDegreesPerRadian;
}

SceneView ActiveSceneView(const Scene& scene) {
  SceneView view;
  const SceneObject* camera = ActiveCamera(scene);
  if (!camera) {
    view.leftHanded = true;
    view.location = {0, 0, -10};
    view.up = {0, 1, 0};
    view.aspect = kDefaultAspect;
    view.horizontalAngle =
        2 * std::atan(std::tan(kDefaultVerticalAngle / 2 / kDegreesPerRadian) * kDefaultAspect) *
        kDegreesPerRadian;
    return view;
  }
  const abi::CameraParams& params = camera->data.shape.camera;
  const bool linked = params.ownTransformOnly == 0;
  view.fromCamera = true;
  view.cameraName = camera->name;
  math::Vector3 location = ToVector(camera->params.translate);
  const math::Vector3 interest = ToVector(camera->params.rotate);
  // A view needs a direction: the ray tracer nudges a camera level with its interest point
  // before moving both with the objects they follow.
  if (location.x == interest.x) {
    if (location.y == interest.y && location.z == interest.z) location.y -= 0.1;
    if (location.y == interest.y) location.y -= 0.001;
  }
  view.location = location + Offset(scene, camera->linkA, linked);
  view.interest = interest + Offset(scene, camera->linkB, linked);
  view.up = ToVector(params.up);
  view.horizontalAngle = params.fieldOfView;
  view.aspect = params.aspect;
  return view;
}

}  // namespace lumetra::host
