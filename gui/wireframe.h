// The scene's objects as line drawings, and the projections of the four views.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "abi/view_record.h"
#include "host/scene.h"
#include "math/vector3.h"

namespace lumetra::gui {

// A line of an object's drawing in world space.
struct Segment {
  math::Vector3 a, b;
  uint32_t object = 0;
  bool backdrop = false;  // an endless plane's grid: the views fit the rest
};

// Every object of the tree and every camera drawn in lines: primitives by their outlines
// (spheres as three circles, boxes as boxes, cylinders and cones by their rims), meshes by
// their edges, outlines, blobs and patches by their points, the rest by its bounding box,
// each through its transforms and those of its ancestors. A clone draws its source again
// where it stands; a camera draws its viewing pyramid.
std::vector<Segment> SceneWireframe(const host::Scene& scene);

// Where a camera stands and what it looks at, with the objects it follows.
struct CameraAim {
  math::Vector3 location, interest, up;
  double fieldOfView = 45;  // horizontal, degrees
};
// The scene's active camera (else its first); none without cameras.
std::optional<CameraAim> ActiveCameraAim(const host::Scene& scene);

// Maps world points to the pixels of a view of `width` x `height`.
class ViewProjection {
 public:
  // Looking down (top), from +z (front), from +x (side), right-handed with y up: the drawing fills
  // the view, scaled by the record's zoom and moved by its centre.
  static ViewProjection Orthographic(uint32_t projection, const std::vector<Segment>& drawing, double zoom,
                                     const double (&centre)[3], int width, int height);
  static ViewProjection Perspective(const CameraAim& aim, int width, int height);

  // The pixels of a segment's ends; none when it lies wholly behind a perspective camera
  // (a segment that crosses the near plane is cut there).
  std::optional<std::pair<std::pair<double, double>, std::pair<double, double>>> Map(
      const math::Vector3& a, const math::Vector3& b) const;

 private:
  ViewProjection() = default;
  std::pair<double, double> Pixel(const math::Vector3& p) const;

  math::Vector3 origin_, right_, up_, forward_;
  double scale_ = 1;  // pixels per unit (orthographic) or the focal length in pixels
  double halfWidth_ = 0, halfHeight_ = 0;
  bool perspective_ = false;
};

}  // namespace lumetra::gui
