#pragma once

#include <span>

#include <lumetra2.h>

#include "translate/host_object.h"

namespace translate {

// Places a primitive as its host object says, the same way for the first translation
// and for every animation frame that poses it again: the local transform, then the
// texture reference (0 for none) attached with the object's texture transform and, when
// the object locks its texture, held against the enclosing objects (`ancestors`, the
// outermost first) and the object itself, then the object's transform.
void PlaceObject(L2Scene scene, L2Primitive prim, const HostObject& object, L2Texture texture,
                 std::span<const HostObject* const> ancestors);

}  // namespace translate
