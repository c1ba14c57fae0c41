#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <lumetra2.h>

#include "font/glyph_outline.h"

namespace lumetra::translate {

// The text of a text object as one render-library primitive: every glyph an
// extruded outline from z = 0 to z = depth, all joined in a CSG union. Null
// for an empty text, a text of spaces, or a font that cannot be read. A glyph
// that cannot be made shows "Failed to process truetype" once per text.
L2Primitive MakeTextPrimitive(L2Scene scene, const std::string& fontFile, std::string_view text, double depth,
                              double spacing, double rise);

// The render library's form of a contour moved by (dx, dy): point 0, then the
// others from the last down to 1, then point 0 again (reversed and closed),
// each as x, y and 1 for an off-curve or 0 for an on-curve point.
std::vector<double> ClosedReversedContour(const font::GlyphContour& contour, double dx, double dy);

}  // namespace lumetra::translate
