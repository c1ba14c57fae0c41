#include "translate/transform_calls.h"

#include <algorithm>
#include <cmath>

#include "translate/library_result.h"

namespace lumetra::translate {
namespace {

bool AllEqual(const Vector& v, double value) { return v[0] == value && v[1] == value && v[2] == value; }

// The library refuses a scale it cannot undo, which would leave the object at full size. A
// zero component flattens the object instead: it becomes a millionth of the largest
// component (of 1 when all are zero, which leaves a speck).
constexpr double kFlat = 1e-6;

void MakeSound(const Vector& scale, Vector& sound) {
  const double largest = std::max({std::fabs(scale[0]), std::fabs(scale[1]), std::fabs(scale[2])});
  const double flat = kFlat * (largest > 0 ? largest : 1.0);
  for (int axis = 0; axis < 3; ++axis) sound[axis] = scale[axis] == 0 ? flat : scale[axis];
}

void Call(L2TransformEntry* entry, const char* name, L2Scene scene, uint32_t target, double x, double y,
          double z) {
  LogRefusal(entry(scene, target, x, y, z), name);
}

struct TransformEntries {
  L2TransformEntry* scale;
  L2TransformEntry* rotate;
  L2TransformEntry* translate;
  const char* scaleName;
  const char* rotateName;
  const char* translateName;
};

void Place(const TransformEntries& entries, L2Scene scene, uint32_t target, const Vector& scale,
           const Vector& rotate, const Vector& translate) {
  if (!AllEqual(scale, 1.0))
    Call(entries.scale, entries.scaleName, scene, target, scale[0], scale[1], scale[2]);
  if (!AllEqual(rotate, 0.0))
    Call(entries.rotate, entries.rotateName, scene, target, -rotate[0], -rotate[1], -rotate[2]);
  if (!AllEqual(translate, 0.0)) {
    Call(entries.translate, entries.translateName, scene, target, translate[0], translate[1], translate[2]);
  }
}

}  // namespace

void PlacePrimitive(L2Scene scene, L2Primitive prim, const Vector& scale, const Vector& rotate,
                    const Vector& translate) {
  Vector sound;
  MakeSound(scale, sound);
  Place({ScalePrim, RotatePrim, TranslatePrim, "ScalePrim", "RotatePrim", "TranslatePrim"}, scene, prim,
        sound, rotate, translate);
}

void PlaceTexture(L2Scene scene, L2Texture texture, const Vector& scale, const Vector& rotate,
                  const Vector& translate) {
  Place({ScaleTexture, RotateTexture, TranslateTexture, "ScaleTexture", "RotateTexture", "TranslateTexture"},
        scene, texture, scale, rotate, translate);
}

void HoldTextureAgainst(L2Scene scene, L2Texture texture, const Vector& scale, const Vector& rotate,
                        const Vector& translate) {
  if (!AllEqual(translate, 0.0)) {
    Call(TranslateTexture, "TranslateTexture", scene, texture, -translate[0], -translate[1], -translate[2]);
  }
  if (rotate[2] != 0.0) Call(RotateTexture, "RotateTexture", scene, texture, 0, 0, rotate[2]);
  if (rotate[1] != 0.0) Call(RotateTexture, "RotateTexture", scene, texture, 0, rotate[1], 0);
  if (rotate[0] != 0.0) Call(RotateTexture, "RotateTexture", scene, texture, rotate[0], 0, 0);
  if (!AllEqual(scale, 1.0)) {
    Vector sound;
    MakeSound(scale, sound);
    Call(ScaleTexture, "ScaleTexture", scene, texture, 1.0 / sound[0], 1.0 / sound[1], 1.0 / sound[2]);
  }
}

}  // namespace lumetra::translate
