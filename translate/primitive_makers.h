#pragma once

#include <lumetra2.h>

#include "abi/scene_record.h"
#include "translate/host_object.h"

namespace lumetra::translate {

// What a primitive is made from: the job's scene, the host that answers questions about
// the object, and the object's records. Every maker returns the primitive in its own
// unit form (the object's transform places it later), or 0 when nothing was made.
struct ShapeSource {
  L2Scene scene;
  const abi::SceneRecord& host;
  const HostObject& object;
};

// Boxes, spheres, cylinders, cones, tori, planes, discs and superquadrics.
L2Primitive MakeBasicShape(const ShapeSource& source);
// Sweeps, lathes and extrusions from the host's outline points.
L2Primitive MakeProfileShape(const ShapeSource& source);
// Bicubic patch meshes from the host's control points and patches.
L2Primitive MakeSplineMesh(const ShapeSource& source);
// Triangle meshes: mesh files (23) and polygon meshes (31) through the host's mesh interface.
L2Primitive MakeMeshFile(const ShapeSource& source);
L2Primitive MakePolygonMesh(const ShapeSource& source);
// Height fields from an image the host finds, fitted to the square -1..1.
L2Primitive MakeHeightField(const ShapeSource& source);
L2Primitive MakeBlob(const ShapeSource& source);
// Text in a TrueType font the host finds.
L2Primitive MakeText(const ShapeSource& source);
// Objects of other plug-ins that the renderer knows by their kind identifier.
L2Primitive MakePluginObject(const ShapeSource& source);
// Point, spot and area lights with their colour, shadows and fading.
L2Primitive MakeLight(const ShapeSource& source);

bool IsLight(std::uint32_t type);

// The placements a primitive gets when it is made, before its object's transforms:
// posing restores them after taking the transforms off. The library's area light covers
// the unit square x, z in 0..1, the host's -1..1 upright, facing along z; a height
// field is fitted to the square -1..1 from the size and sample depth the library holds.
void PlaceAreaSquare(L2Scene scene, L2Light area);
void RefitHeightField(L2Scene scene, L2Primitive prim);

}  // namespace lumetra::translate
