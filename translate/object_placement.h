#pragma once

#include <span>

#include <lumetra2.h>

#include "translate/host_object.h"

namespace lumetra::translate {

// Places a primitive as its host object says, the same way for the first translation
// and for every animation frame that poses it again: the local transform, then the
// texture reference (0 for none) attached with the object's texture transform and, when
// the object locks its texture, held against the enclosing objects (`ancestors`, the
// outermost first) and the object itself, then the object's transform.
void PlaceObject(L2Scene scene, L2Primitive prim, const HostObject& object, L2Texture texture,
                 std::span<const HostObject* const> ancestors);

// Moves a light made within a group by the group's local transform and transform: a light
// is no solid to join, so the group's primitive does not carry it. Groups nest: the
// innermost is applied first.
void PlaceWithinGroup(L2Scene scene, L2Light light, const HostObject& group);

}  // namespace lumetra::translate
