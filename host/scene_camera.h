#pragma once

#include <string>

#include "host/scene.h"
#include "math/vector3.h"

namespace lumetra::host {

// The view the ray tracer renders a scene from: the first active camera of list 1, its
// location and interest point moved by the objects it follows, nudged apart when they
// would leave no direction; without an active camera the tracer's default view.
struct SceneView {
  bool fromCamera = false;
  std::string cameraName;
  math::Vector3 location;
  math::Vector3 interest;
  math::Vector3 up;
  double horizontalAngle = 0;  // degrees, across the picture's width
  double aspect = 1;           // width over height of the picture the view fills
  // A camera's picture has its right along direction x up (-x looking down +z with y up);
  // the default view's right is +x there.
  bool leftHanded = false;
};

SceneView ActiveSceneView(const Scene& scene);

// The vertical angle (degrees) of a horizontal field of view over `aspect`.
double VerticalAngle(double horizontalAngle, double aspect);

}  // namespace lumetra::host
