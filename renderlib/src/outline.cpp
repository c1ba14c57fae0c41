#include "outline.h"

#include <algorithm>
#include <cmath>

#include "lumetra2.h"
#include "polynomial.h"

namespace lumetra::renderlib {
namespace {

OutlinePiece bezier(const std::vector<OutlinePoint>& p) {
  OutlinePiece piece;
  piece.degree = int(p.size()) - 1;
  auto fill = [&](std::array<double, 4>& out, auto coordinate) {
    const double a = coordinate(p[0]), b = coordinate(p[1]);
    if (piece.degree == 1) {
      out = {a, b - a, 0, 0};
    } else if (piece.degree == 2) {
      const double c = coordinate(p[2]);
      out = {a, 2 * (b - a), a - 2 * b + c, 0};
    } else {
      const double c = coordinate(p[2]), d = coordinate(p[3]);
      out = {a, 3 * (b - a), 3 * (a - 2 * b + c), d - a + 3 * (b - c)};
    }
  };
  fill(piece.x, [](const OutlinePoint& q) { return q.x; });
  fill(piece.y, [](const OutlinePoint& q) { return q.y; });
  piece.low_x = piece.high_x = p[0].x;
  piece.low_y = piece.high_y = p[0].y;
  for (const OutlinePoint& q : p) {
    piece.low_x = std::min(piece.low_x, q.x);
    piece.high_x = std::max(piece.high_x, q.x);
    piece.low_y = std::min(piece.low_y, q.y);
    piece.high_y = std::max(piece.high_y, q.y);
  }
  return piece;
}

}  // namespace

std::optional<std::vector<OutlinePiece>> makeOutline(int spline_kind, const std::vector<OutlinePoint>& input,
                                                     bool closed) {
  if (spline_kind < L2_SPLINE_LINEAR || spline_kind > L2_SPLINE_CUBIC || input.size() < 2)
    return std::nullopt;
  std::vector<OutlinePoint> points = input;
  if (spline_kind == L2_SPLINE_LINEAR) {
    for (OutlinePoint& p : points) p.control = false;
  }
  if (closed) {
    // Begin at a point on the outline, when there is one, so that runs of controls do not wrap.
    const auto on =
        std::find_if(points.begin(), points.end(), [](const OutlinePoint& p) { return !p.control; });
    if (on != points.end()) std::rotate(points.begin(), on, points.end());
  } else {
    // Open outlines are clamped: they begin and end on their first and last points.
    points.front().control = false;
    points.back().control = false;
  }
  if (spline_kind != L2_SPLINE_LINEAR) {
    // A run of more controls than one piece takes implies outline points half way between
    // two of them: after each control of a quadratic run, after every second of a cubic one.
    const int per_piece = spline_kind - 1;
    std::vector<OutlinePoint> expanded;
    int run = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const bool last = i + 1 == points.size();
      const OutlinePoint& next = points[last ? 0 : i + 1];
      expanded.push_back(points[i]);
      run = points[i].control ? run + 1 : 0;
      if (points[i].control && next.control && (closed || !last) && (run == per_piece || last)) {
        expanded.push_back({(points[i].x + next.x) / 2, (points[i].y + next.y) / 2, false});
        run = 0;
      }
    }
    points = std::move(expanded);
  }
  // Start at a point on the outline (closed outlines of controls only begin half way).
  size_t start = 0;
  while (start < points.size() && points[start].control) ++start;
  if (start == points.size()) return std::nullopt;
  const size_t count = points.size();
  const size_t steps = closed ? count : count - 1;
  std::vector<OutlinePiece> pieces;
  std::vector<OutlinePoint> current{points[start]};
  for (size_t k = 1; k <= steps; ++k) {
    const OutlinePoint& p = points[(start + k) % count];
    current.push_back(p);
    if (p.control) {
      if (int(current.size()) - 1 >= spline_kind) return std::nullopt;  // too many controls
      continue;
    }
    pieces.push_back(bezier(current));
    current = {p};
  }
  if (current.size() > 1 || pieces.empty()) return std::nullopt;
  return pieces;
}

int pieceRoots(const OutlinePiece& piece, double a, double b, double c, double roots[3]) {
  // The piece lies in its box: a line with every corner of the box on one side misses it.
  const double x_low = a * piece.low_x, x_high = a * piece.high_x;
  const double y_low = b * piece.low_y + c, y_high = b * piece.high_y + c;
  const double least = std::min(x_low, x_high) + std::min(y_low, y_high);
  const double most = std::max(x_low, x_high) + std::max(y_low, y_high);
  // A margin above rounding, so that a grazing line still meets the roots' own tolerance.
  const double margin = 1e-3 * (std::max(std::fabs(x_low), std::fabs(x_high)) +
                                std::max(std::fabs(y_low), std::fabs(y_high)) + std::fabs(c));
  if (least > margin || most < -margin) return 0;
  double poly[4];
  for (int i = 0; i < 4; ++i) poly[i] = a * piece.x[i] + b * piece.y[i];
  poly[0] += c;
  int degree = piece.degree;
  while (degree > 0 && poly[degree] == 0) --degree;
  if (degree == 0) return 0;
  double found[kMaxPolynomialDegree];
  const int count = sturmRoots(poly, degree, -1e-12, 1 - 1e-12, found);
  for (int i = 0; i < count; ++i) roots[i] = std::max(found[i], 0.0);
  return count;
}

bool insideOutlines(const std::vector<std::vector<OutlinePiece>>& outlines, double x, double y) {
  int winding = 0;
  for (const std::vector<OutlinePiece>& outline : outlines) {
    for (const OutlinePiece& piece : outline) {
      double roots[3];
      const int count = pieceRoots(piece, 0, 1, -y, roots);
      for (int i = 0; i < count; ++i) {
        if (piece.xAt(roots[i]) <= x) continue;
        const double slope = piece.dyAt(roots[i]);
        if (slope > 0) ++winding;
        if (slope < 0) --winding;
      }
    }
  }
  return winding != 0;
}

}  // namespace lumetra::renderlib
