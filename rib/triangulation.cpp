#include "rib/triangulation.h"

#include <algorithm>
#include <cmath>

namespace lumetra::rib {
namespace {

struct Point2 {
  double x, y;
};

double Cross(const Point2& o, const Point2& a, const Point2& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double Area(const std::vector<Point2>& points, const std::vector<int>& loop) {
  double area = 0;
  for (std::size_t i = 0; i < loop.size(); ++i) {
    const Point2& a = points[loop[i]];
    const Point2& b = points[loop[(i + 1) % loop.size()]];
    area += a.x * b.y - b.x * a.y;
  }
  return area / 2;
}

bool Same(const Point2& a, const Point2& b) { return a.x == b.x && a.y == b.y; }

bool InTriangle(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
  return Cross(a, b, p) >= 0 && Cross(b, c, p) >= 0 && Cross(c, a, p) >= 0;
}

// Whether segments ab and cd cross at a point inside both (touching ends do not count).
bool Crosses(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
  if (Same(a, c) || Same(a, d) || Same(b, c) || Same(b, d)) return false;
  const double d1 = Cross(a, b, c), d2 = Cross(a, b, d), d3 = Cross(c, d, a), d4 = Cross(c, d, b);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Joins a hole to the outline by a cut from the hole's rightmost point to the nearest
// outline point the cut reaches without crossing an edge; the outline then runs round the
// hole and back along the cut.
void Bridge(const std::vector<Point2>& points, std::vector<int>& outline, const std::vector<int>& hole,
            const std::vector<std::vector<int>>& holes) {
  std::size_t start = 0;
  for (std::size_t i = 1; i < hole.size(); ++i)
    if (points[hole[i]].x > points[hole[start]].x) start = i;
  const Point2& m = points[hole[start]];
  auto blocked = [&](const Point2& p, const std::vector<int>& loop) {
    for (std::size_t i = 0; i < loop.size(); ++i)
      if (Crosses(m, p, points[loop[i]], points[loop[(i + 1) % loop.size()]])) return true;
    return false;
  };
  std::size_t best = outline.size();
  double bestDistance = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const Point2& p = points[outline[i]];
    const double distance = (p.x - m.x) * (p.x - m.x) + (p.y - m.y) * (p.y - m.y);
    if (best != outline.size() && distance >= bestDistance) continue;
    if (blocked(p, outline)) continue;
    if (std::any_of(holes.begin(), holes.end(), [&](const auto& h) { return blocked(p, h); })) continue;
    best = i;
    bestDistance = distance;
  }
  if (best == outline.size()) best = 0;
  std::vector<int> joined(outline.begin(), outline.begin() + static_cast<long>(best) + 1);
  for (std::size_t i = 0; i <= hole.size(); ++i) joined.push_back(hole[(start + i) % hole.size()]);
  joined.insert(joined.end(), outline.begin() + static_cast<long>(best), outline.end());
  outline = std::move(joined);
}

}  // namespace

std::vector<std::array<int, 3>> Triangulate(const std::vector<std::vector<math::Vector3>>& loops) {
  std::vector<std::array<int, 3>> triangles;
  if (loops.empty() || loops[0].size() < 3) return triangles;
  // Newell's normal of the outline picks the plane to flatten onto.
  math::Vector3 normal;
  const auto& outer = loops[0];
  for (std::size_t i = 0; i < outer.size(); ++i) {
    const math::Vector3& a = outer[i];
    const math::Vector3& b = outer[(i + 1) % outer.size()];
    normal = normal +
             math::Vector3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
  }
  const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
  std::vector<Point2> points;
  std::vector<std::vector<int>> indexLoops;
  for (const auto& loop : loops) {
    std::vector<int> indices;
    for (const math::Vector3& p : loop) {
      indices.push_back(static_cast<int>(points.size()));
      if (az >= ax && az >= ay)
        points.push_back({p.x, p.y});
      else if (ax >= ay)
        points.push_back({p.y, p.z});
      else
        points.push_back({p.z, p.x});
    }
    indexLoops.push_back(std::move(indices));
  }
  std::vector<int> outline = indexLoops[0];
  if (Area(points, outline) < 0) std::reverse(outline.begin(), outline.end());
  std::vector<std::vector<int>> holes;
  for (std::size_t i = 1; i < indexLoops.size(); ++i) {
    if (indexLoops[i].size() < 3) continue;
    if (Area(points, indexLoops[i]) > 0) std::reverse(indexLoops[i].begin(), indexLoops[i].end());
    holes.push_back(indexLoops[i]);
  }
  std::sort(holes.begin(), holes.end(), [&](const auto& a, const auto& b) {
    auto maxX = [&](const std::vector<int>& h) {
      double x = points[h[0]].x;
      for (const int i : h) x = std::max(x, points[i].x);
      return x;
    };
    return maxX(a) > maxX(b);
  });
  for (std::size_t i = 0; i < holes.size(); ++i) {
    const std::vector<std::vector<int>> others(holes.begin() + static_cast<long>(i) + 1, holes.end());
    Bridge(points, outline, holes[i], others);
  }
  // Ear clipping; when no ear is found (a degenerate or crossing outline) the flattest
  // corner goes anyway, so the loop always ends.
  std::vector<int> ring = outline;
  std::size_t cursor = 0;  // the search goes on where the last ear was cut
  while (ring.size() > 3) {
    const std::size_t n = ring.size();
    std::size_t ear = n;
    std::size_t fallback = 0;
    double fallbackTurn = -INFINITY;
    for (std::size_t k = 0; k < n && ear == n; ++k) {
      const std::size_t i = (cursor + k) % n;
      const Point2& a = points[ring[(i + n - 1) % n]];
      const Point2& b = points[ring[i]];
      const Point2& c = points[ring[(i + 1) % n]];
      const double turn = Cross(a, b, c);
      if (turn > fallbackTurn) {
        fallbackTurn = turn;
        fallback = i;
      }
      if (turn <= 0) continue;
      bool empty = true;
      for (std::size_t j = 0; j < n && empty; ++j) {
        const Point2& p = points[ring[j]];
        if (Same(p, a) || Same(p, b) || Same(p, c)) continue;
        if (InTriangle(p, a, b, c)) empty = false;
      }
      if (empty) ear = i;
    }
    if (ear == n) ear = fallback;
    const std::array<int, 3> triangle = {ring[(ear + n - 1) % n], ring[ear], ring[(ear + 1) % n]};
    if (Cross(points[triangle[0]], points[triangle[1]], points[triangle[2]]) != 0)
      triangles.push_back(triangle);
    ring.erase(ring.begin() + static_cast<long>(ear));
    cursor = ear == 0 ? 0 : ear - 1;
  }
  if (Cross(points[ring[0]], points[ring[1]], points[ring[2]]) != 0)
    triangles.push_back({ring[0], ring[1], ring[2]});
  return triangles;
}

}  // namespace lumetra::rib
