#pragma once

#include <ostream>
#include <string>

#include "abi/object_info.h"
#include "host/scene.h"

namespace lumetra::host::pov {

class SceneFiles;

// Numbers as POV-Ray reads them: the classic locale, nine significant digits.
struct Vec {
  double x, y, z;
};
std::ostream& operator<<(std::ostream& out, const Vec& v);
inline Vec VecOf(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

// "rgb <r, g, b>", or "rgbft <...>" when filter or transmit is set.
void WriteColour(std::ostream& out, double r, double g, double b, double filter = 0, double transmit = 0);

// A scale whose zero factors are a millionth of the largest, as the ray tracer flattens
// them instead of breaking the matrix.
Vec SoundScale(const double (&scale)[3]);

// A scale, rotation (the host's degrees, turning the other way round from POV-Ray's) and
// translation, each left out when it does nothing. A zero scale factor flattens to a
// millionth of the largest, as the ray tracer does, instead of breaking the matrix.
void WriteTransform(std::ostream& out, const double (&scale)[3], const double (&rotate)[3],
                    const double (&translate)[3]);

// The identifier a top-level material is declared under.
std::string MaterialIdentifier(size_t index);

// Declares every top-level material of list 2 as a texture (and its interior), in list
// order; the object writer refers to them by MaterialIdentifier. Image files are named by
// `files`.
void WriteMaterials(const Scene& scene, const SceneFiles& files, std::ostream& out);

// The texture of an object: its material with the object's texture transform and, when
// the object locks its texture, the undoing of the transforms it is held against. Writes
// nothing when the object wears no material.
void WriteObjectTexture(const Scene& scene, const SceneObject& object, std::ostream& out);

// One-line comment text: no line breaks survive.
std::string CommentText(const std::string& text);

}  // namespace lumetra::host::pov
