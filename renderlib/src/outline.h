// Plane outlines of straight, quadratic and cubic Bezier pieces, as lathes, sweeps and glyphs
// take them: points (x, y) flagged as on the outline or as control points between them.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "vec3.h"

namespace lumetra::renderlib {

struct OutlinePoint {
  double x, y;
  bool control;  // a control point; otherwise the outline passes through it
};

// One piece, x(s) and y(s) in powers of s (constant first), 0 <= s <= 1.
struct OutlinePiece {
  int degree;
  std::array<double, 4> x{}, y{};
  // The box of the control points, which holds the whole piece.
  double low_x = 0, high_x = 0, low_y = 0, high_y = 0;

  double xAt(double s) const { return x[0] + s * (x[1] + s * (x[2] + s * x[3])); }
  double yAt(double s) const { return y[0] + s * (y[1] + s * (y[2] + s * y[3])); }
  double dxAt(double s) const { return x[1] + s * (2 * x[2] + s * 3 * x[3]); }
  double dyAt(double s) const { return y[1] + s * (2 * y[2] + s * 3 * y[3]); }
};

// The pieces of an outline. Between two points the outline passes through, no control point
// gives a straight piece, one a quadratic and two a cubic (spline kind permitting); two
// quadratic control points in a row imply a point half way between them. Closed outlines
// join the last point to the first. Empty when the points do not form an outline.
std::optional<std::vector<OutlinePiece>> makeOutline(int spline_kind, const std::vector<OutlinePoint>& points,
                                                     bool closed);

// Nonzero-winding test of (x, y) against closed outlines.
bool insideOutlines(const std::vector<std::vector<OutlinePiece>>& outlines, double x, double y);

// Values of s in [0, 1) where a x(s) + b y(s) + c = 0, ascending.
int pieceRoots(const OutlinePiece& piece, double a, double b, double c, double roots[3]);

}  // namespace lumetra::renderlib
