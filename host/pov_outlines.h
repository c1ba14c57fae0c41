#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "abi/mesh_record.h"
#include "abi/object_params.h"

namespace lumetra::host::pov {

// One piece of an outline as a cubic Bezier curve: straight and quadratic pieces are
// raised to cubics of the same curve, so POV-Ray's bezier_spline draws every piece.
struct CubicPiece {
  std::array<double, 4> x, y;
  bool straight;
};

// The pieces the ray tracer makes of a lathe's, sweep's or extrusion's points: the last
// point (the host's repeat of the first) is dropped; a closed outline joins its end to its
// start. Linear outlines pass through every point; quadratic ones (host kinds 2 and 3,
// where only kind 3's corners lie on the outline) and Bezier ones (kind 4) are steered by
// the points in between, with an outline point implied half way between two controls.
// Empty when the points form no outline.
std::vector<CubicPiece> OutlinePieces(const std::vector<abi::ProfilePoint>& points, uint32_t hostKind,
                                      bool closed);

// The extent along z of a sweep's or (cone) extrusion's outline: the ray tracer keeps 0..1
// when the host's is empty, or, for a cone, ends at 0.
std::array<double, 2> ProfileExtent(const abi::ProfileParams& profile, bool cone);

// "N, <x, y>, ..." of the pieces, four points each, as a bezier_spline takes them.
void WriteBezierPoints(std::ostream& out, const std::vector<CubicPiece>& pieces);

// Points of a plane outline; a closed outline's last point joins its first.
using Outline = std::vector<std::array<double, 2>>;

// The pieces followed in lines: a straight piece is one line, a curved one kLinesPerCurve.
// An open outline ends with its last point; a closed one does not repeat its first.
constexpr int kLinesPerCurve = 16;
Outline OutlinePolyline(const std::vector<CubicPiece>& pieces, bool closed);

// "N, <x, y>, ..." of a closed outline in lines, as a linear_spline takes them.
void WriteLinePoints(std::ostream& out, const std::vector<CubicPiece>& pieces);

}  // namespace lumetra::host::pov
