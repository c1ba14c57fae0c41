#include "host/pov_outlines.h"

#include <algorithm>

namespace lumetra::host::pov {
namespace {

struct OutlinePoint {
  double x, y;
  bool control;  // steers the curve; otherwise the outline passes through it
};

// Controls a piece of each kind takes: none (linear), one (quadratic), two (cubic).
int ControlsPerPiece(uint32_t hostKind) {
  switch (hostKind) {
    case 2:
    case 3:
      return 1;
    case 4:
      return 2;
    default:
      return 0;
  }
}

constexpr uint32_t kCornerFlagKind = 3;

CubicPiece Raised(const std::vector<OutlinePoint>& p) {
  CubicPiece piece{{}, {}, p.size() == 2};
  const auto fill = [&](std::array<double, 4>& out, auto coordinate) {
    const double a = coordinate(p[0]), b = coordinate(p[1]);
    if (p.size() == 2) {
      out = {a, a + (b - a) / 3, a + 2 * (b - a) / 3, b};
    } else if (p.size() == 3) {
      const double c = coordinate(p[2]);
      out = {a, a + 2 * (b - a) / 3, c + 2 * (b - c) / 3, c};
    } else {
      out = {a, b, coordinate(p[2]), coordinate(p[3])};
    }
  };
  fill(piece.x, [](const OutlinePoint& q) { return q.x; });
  fill(piece.y, [](const OutlinePoint& q) { return q.y; });
  return piece;
}

}  // namespace

std::vector<CubicPiece> OutlinePieces(const std::vector<abi::ProfilePoint>& input, uint32_t hostKind,
                                      bool closed) {
  if (input.size() < 3) return {};
  const int perPiece = ControlsPerPiece(hostKind);
  std::vector<OutlinePoint> points;
  for (size_t i = 0; i + 1 < input.size(); ++i) {
    const bool corner = hostKind == kCornerFlagKind && (input[i].flags & abi::kProfilePointCorner) != 0;
    points.push_back({input[i].x, input[i].y, perPiece > 0 && !corner});
  }
  if (closed) {
    // Begin at a point on the outline, when there is one, so that runs of controls do not wrap.
    const auto on =
        std::find_if(points.begin(), points.end(), [](const OutlinePoint& p) { return !p.control; });
    if (on != points.end()) std::rotate(points.begin(), on, points.end());
  } else {
    points.front().control = false;
    points.back().control = false;
  }
  if (perPiece > 0) {
    std::vector<OutlinePoint> expanded;
    int run = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const bool last = i + 1 == points.size();
      const OutlinePoint& next = points[last ? 0 : i + 1];
      expanded.push_back(points[i]);
      run = points[i].control ? run + 1 : 0;
      if (points[i].control && next.control && (closed || !last) && (run == perPiece || last)) {
        expanded.push_back({(points[i].x + next.x) / 2, (points[i].y + next.y) / 2, false});
        run = 0;
      }
    }
    points = std::move(expanded);
  }
  size_t start = 0;
  while (start < points.size() && points[start].control) ++start;
  if (start == points.size()) return {};
  const size_t count = points.size();
  const size_t steps = closed ? count : count - 1;
  std::vector<CubicPiece> pieces;
  std::vector<OutlinePoint> current{points[start]};
  for (size_t k = 1; k <= steps; ++k) {
    const OutlinePoint& p = points[(start + k) % count];
    current.push_back(p);
    if (p.control) {
      if (static_cast<int>(current.size()) - 1 > perPiece) return {};
      continue;
    }
    pieces.push_back(Raised(current));
    current = {p};
  }
  if (current.size() > 1) return {};
  return pieces;
}

std::array<double, 2> ProfileExtent(const abi::ProfileParams& profile, bool cone) {
  const double start = profile.extrusion[0], end = profile.extrusion[1];
  if (!(start < end) || (cone && end == 0)) return {0, 1};
  return {start, end};
}

void WriteBezierPoints(std::ostream& out, const std::vector<CubicPiece>& pieces) {
  out << pieces.size() * 4;
  for (const CubicPiece& piece : pieces) {
    for (size_t i = 0; i < 4; ++i) out << ", <" << piece.x[i] << ", " << piece.y[i] << ">";
  }
}

}  // namespace lumetra::host::pov

namespace lumetra::host::pov {

Outline OutlinePolyline(const std::vector<CubicPiece>& pieces, bool closed) {
  Outline points;
  for (const CubicPiece& piece : pieces) {
    const int lines = piece.straight ? 1 : kLinesPerCurve;
    for (int k = 0; k < lines; ++k) {
      const double t = double(k) / lines, u = 1 - t;
      const double w[4] = {u * u * u, 3 * t * u * u, 3 * t * t * u, t * t * t};
      points.push_back({w[0] * piece.x[0] + w[1] * piece.x[1] + w[2] * piece.x[2] + w[3] * piece.x[3],
                        w[0] * piece.y[0] + w[1] * piece.y[1] + w[2] * piece.y[2] + w[3] * piece.y[3]});
    }
  }
  if (!closed && !pieces.empty()) points.push_back({pieces.back().x[3], pieces.back().y[3]});
  return points;
}

void WriteLinePoints(std::ostream& out, const std::vector<CubicPiece>& pieces) {
  Outline points = OutlinePolyline(pieces, true);
  if (!points.empty()) points.push_back(points.front());
  out << points.size();
  for (const auto& p : points) out << ", <" << p[0] << ", " << p[1] << ">";
}

}  // namespace lumetra::host::pov
