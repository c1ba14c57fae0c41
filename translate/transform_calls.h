#pragma once

#include <lumetra2.h>

namespace lumetra::translate {

using Vector = double[3];

// Places a primitive by the host's scale, rotation (degrees) and translation, in that
// order, each skipped when it changes nothing: the scale when all three are 1, the
// rotation and translation when all three are 0. The library turns the other way
// round, so the angles go to it negated. A zero scale component flattens the object to a
// millionth of its largest component rather than leave it unscaled.
void PlacePrimitive(L2Scene scene, L2Primitive prim, const Vector& scale, const Vector& rotate,
                    const Vector& translate);

// The same for a texture reference (an object's texture transform).
void PlaceTexture(L2Scene scene, L2Texture texture, const Vector& scale, const Vector& rotate,
                  const Vector& translate);

// Moves a texture reference by the inverse of an object's placement, so that the
// texture stays fixed on the object however the object is placed: the negated
// translation, then the turns about z, y and x by the object's own angles, then the
// reciprocal scale.
void HoldTextureAgainst(L2Scene scene, L2Texture texture, const Vector& scale, const Vector& rotate,
                        const Vector& translate);

}  // namespace lumetra::translate
