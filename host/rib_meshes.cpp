#include "host/rib_meshes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace lumetra::host::rib {
namespace {

using math::Vector3;

// Rows of points joined into quads, row r to row r + 1, each closed around. Points that
// coincide (a pole, an axis crossing) are shared, and faces left with fewer than three
// corners dropped.
void AddRows(PolygonMesh& mesh, const std::vector<std::vector<Vector3>>& rows) {
  std::vector<std::vector<uint32_t>> indices;
  for (const auto& row : rows) {
    std::vector<uint32_t>& ids = indices.emplace_back();
    const bool point = std::all_of(row.begin(), row.end(),
                                   [&](const Vector3& p) { return math::Length(p - row.front()) < 1e-12; });
    const uint32_t shared = point ? mesh.Add(row.front()) : 0;
    for (const Vector3& p : row) ids.push_back(point ? shared : mesh.Add(p));
  }
  for (size_t r = 0; r + 1 < indices.size(); ++r) {
    const size_t around = indices[r].size();
    for (size_t k = 0; k < around; ++k) {
      const size_t next = (k + 1) % around;
      PolygonMesh::Loop loop;
      for (const uint32_t id : {indices[r][k], indices[r][next], indices[r + 1][next], indices[r + 1][k]}) {
        if (std::find(loop.begin(), loop.end(), id) == loop.end()) loop.push_back(id);
      }
      if (loop.size() >= 3) mesh.faces.push_back({loop});
    }
  }
}

double SignedArea(const Outline& outline) {
  double area = 0;
  for (size_t i = 0; i < outline.size(); ++i) {
    const auto& a = outline[i];
    const auto& b = outline[(i + 1) % outline.size()];
    area += a[0] * b[1] - b[0] * a[1];
  }
  return area / 2;
}

bool Contains(const Outline& outline, const std::array<double, 2>& p) {
  bool inside = false;
  for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    const auto& a = outline[i];
    const auto& b = outline[j];
    if ((a[1] > p[1]) != (b[1] > p[1]) && p[0] < (b[0] - a[0]) * (p[1] - a[1]) / (b[1] - a[1]) + a[0])
      inside = !inside;
  }
  return inside;
}

}  // namespace

void WritePolygonMesh(std::ostream& out, const PolygonMesh& mesh) {
  const auto list = [&](auto each) {
    out << "[";
    bool first = true;
    each([&](auto value) {
      out << (first ? "" : " ") << value;
      first = false;
    });
    out << "]";
  };
  out << "PointsGeneralPolygons ";
  list([&](auto put) {
    for (const auto& face : mesh.faces) put(face.size());
  });
  out << " ";
  list([&](auto put) {
    for (const auto& face : mesh.faces)
      for (const auto& loop : face) put(loop.size());
  });
  out << " ";
  list([&](auto put) {
    for (const auto& face : mesh.faces)
      for (const auto& loop : face)
        for (const uint32_t id : loop) put(id);
  });
  const auto vectors = [&](const char* name, const std::vector<Vector3>& values) {
    out << " \"" << name << "\" ";
    list([&](auto put) {
      for (const Vector3& v : values) {
        put(v.x);
        put(v.y);
        put(v.z);
      }
    });
  };
  vectors("P", mesh.points);
  if (!mesh.normals.empty()) vectors("N", mesh.normals);
  out << "\n";
}

PolygonMesh RevolvedMesh(const Outline& outline) {
  // The faces wind one way on all of the surface; which way depends on the outline's
  // direction, as the lathe has no inside of its own.
  std::vector<std::vector<Vector3>> rows;
  for (const auto& [radius, height] : outline) {
    std::vector<Vector3>& row = rows.emplace_back();
    for (int k = 0; k < kStepsAround; ++k) {
      const double angle = 2 * std::numbers::pi * k / kStepsAround;
      row.push_back({radius * std::cos(angle), height, radius * std::sin(angle)});
    }
  }
  PolygonMesh mesh;
  AddRows(mesh, rows);
  return mesh;
}

PolygonMesh ExtrudedMesh(const std::vector<Outline>& given, double start, double end, bool cone) {
  // Outer outlines counter-clockwise, holes clockwise: then every side faces out.
  std::vector<Outline> outlines;
  std::vector<int> depth;
  for (const Outline& outline : given) {
    if (outline.size() >= 3 && SignedArea(outline) != 0) outlines.push_back(outline);
  }
  for (size_t i = 0; i < outlines.size(); ++i) {
    int inside = 0;
    for (size_t j = 0; j < outlines.size(); ++j) inside += j != i && Contains(outlines[j], outlines[i][0]);
    depth.push_back(inside);
    if ((SignedArea(outlines[i]) > 0) != (inside % 2 == 0))
      std::reverse(outlines[i].begin(), outlines[i].end());
  }
  const auto scale = [&](double z) { return cone ? z / end : 1.0; };
  PolygonMesh mesh;
  // Each outline's points at the start, then at the end.
  std::vector<std::array<uint32_t, 2>> first;
  for (const Outline& outline : outlines) {
    first.push_back({static_cast<uint32_t>(mesh.points.size()), 0});
    for (const double z : {start, end}) {
      for (const auto& [x, y] : outline) mesh.Add({x * scale(z), y * scale(z), z});
    }
    first.back()[1] = first.back()[0] + static_cast<uint32_t>(outline.size());
  }
  for (size_t i = 0; i < outlines.size(); ++i) {
    const auto n = static_cast<uint32_t>(outlines[i].size());
    const auto [low, high] = first[i];
    for (uint32_t k = 0; k < n; ++k) {
      const uint32_t next = (k + 1) % n;
      mesh.faces.push_back({{low + k, low + next, high + next, high + k}});
    }
  }
  // Caps: every outer outline with the holes directly inside it; the top seen from +z, the
  // bottom from -z. A cone's point at 0 has no cap.
  for (size_t i = 0; i < outlines.size(); ++i) {
    if (depth[i] % 2 != 0) continue;
    std::vector<PolygonMesh::Loop> top, bottom;
    const auto add = [&](size_t j) {
      const auto n = static_cast<uint32_t>(outlines[j].size());
      PolygonMesh::Loop up, down;
      for (uint32_t k = 0; k < n; ++k) {
        up.push_back(first[j][1] + k);
        down.push_back(first[j][0] + n - 1 - k);
      }
      top.push_back(up);
      bottom.push_back(down);
    };
    add(i);
    for (size_t j = 0; j < outlines.size(); ++j) {
      if (depth[j] == depth[i] + 1 && Contains(outlines[i], outlines[j][0])) add(j);
    }
    mesh.faces.push_back(top);
    if (scale(start) != 0) mesh.faces.push_back(bottom);
  }
  return mesh;
}

PolygonMesh SuperquadricMesh(double eastWest, double northSouth) {
  // Sines and cosines of the poles and quarter turns come out a rounding off 0, which small
  // powers would blow up.
  const auto power = [](double value, double exponent) {
    return std::fabs(value) < 1e-12 ? 0.0 : std::copysign(std::pow(std::fabs(value), exponent), value);
  };
  // From the -z pole to the +z pole, each row turning from +x towards +y.
  std::vector<std::vector<Vector3>> rows;
  for (int row = 0; row <= kStepsAcross; ++row) {
    const double latitude = std::numbers::pi * (double(row) / kStepsAcross - 0.5);
    const double across = power(std::cos(latitude), northSouth), z = power(std::sin(latitude), northSouth);
    std::vector<Vector3>& points = rows.emplace_back();
    for (int k = 0; k < kStepsAround; ++k) {
      const double longitude = 2 * std::numbers::pi * k / kStepsAround;
      points.push_back(
          {across * power(std::cos(longitude), eastWest), across * power(std::sin(longitude), eastWest), z});
    }
  }
  PolygonMesh mesh;
  AddRows(mesh, rows);
  return mesh;
}

namespace {

struct Field {
  const std::vector<abi::BlobComponent>& components;

  // The squared distance from p to a component's centre or segment, and the direction away.
  static double Distance(const abi::BlobComponent& c, const Vector3& p, Vector3& away) {
    const Vector3 a{c.a[0], c.a[1], c.a[2]}, b{c.b[0], c.b[1], c.b[2]};
    Vector3 nearest = a;
    if (c.kind == 2) {
      const Vector3 axis = b - a;
      const double length2 = math::Dot(axis, axis);
      const double s = length2 > 0 ? std::clamp(math::Dot(p - a, axis) / length2, 0.0, 1.0) : 0;
      nearest = a + axis * s;
    }
    away = p - nearest;
    return math::Dot(away, away);
  }

  double Value(const Vector3& p) const {
    double sum = 0;
    for (const abi::BlobComponent& c : components) {
      Vector3 away;
      const double share = 1 - Distance(c, p, away) / (c.radius * c.radius);
      if (share > 0) sum += c.strength * share * share;
    }
    return sum;
  }

  // Pointing out of the blob: down the field.
  Vector3 Normal(const Vector3& p) const {
    Vector3 down;
    for (const abi::BlobComponent& c : components) {
      Vector3 away;
      const double rr = c.radius * c.radius, share = 1 - Distance(c, p, away) / rr;
      if (share > 0) down = down + away * (4 * c.strength * share / rr);
    }
    const double length = math::Length(down);
    return length > 0 ? down * (1 / length) : Vector3{0, 0, 1};
  }
};

}  // namespace

PolygonMesh BlobMesh(const std::vector<abi::BlobComponent>& components, double threshold, int cells) {
  std::vector<abi::BlobComponent> used;
  for (const abi::BlobComponent& c : components) {
    if ((c.kind == 1 || c.kind == 2) && c.radius > 0 && c.strength != 0) used.push_back(c);
  }
  PolygonMesh mesh;
  if (used.empty() || cells < 1) return mesh;
  Vector3 low{1e300, 1e300, 1e300}, high = low * -1;
  for (const abi::BlobComponent& c : used) {
    for (const double* end : {c.a, c.kind == 2 ? c.b : c.a}) {
      low = {std::min(low.x, end[0] - c.radius), std::min(low.y, end[1] - c.radius),
             std::min(low.z, end[2] - c.radius)};
      high = {std::max(high.x, end[0] + c.radius), std::max(high.y, end[1] + c.radius),
              std::max(high.z, end[2] + c.radius)};
    }
  }
  const Field field{used};
  const int n = cells + 1;  // corners a side
  const Vector3 step = (high - low) * (1.0 / cells);
  const auto corner = [&](int i, int j, int k) {
    return Vector3{low.x + step.x * i, low.y + step.y * j, low.z + step.z * k};
  };
  std::vector<double> values(static_cast<size_t>(n) * n * n);
  const auto at = [&](int i, int j, int k) { return (static_cast<size_t>(i) * n + j) * n + k; };
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k) values[at(i, j, k)] = field.Value(corner(i, j, k)) - threshold;
  // One point on each grid edge the surface crosses, shared by the faces beside it.
  std::map<std::pair<size_t, size_t>, uint32_t> crossings;
  const auto crossing = [&](size_t a, size_t b, const Vector3& pa, const Vector3& pb) {
    const auto key = std::minmax(a, b);
    const auto found = crossings.find(key);
    if (found != crossings.end()) return found->second;
    const double t = values[a] / (values[a] - values[b]);
    const Vector3 p = pa + (pb - pa) * t;
    const uint32_t id = mesh.Add(p);
    mesh.normals.push_back(field.Normal(p));
    crossings.emplace(key, id);
    return id;
  };
  // Six tetrahedra about the cube's diagonal from corner 0 to corner 7.
  static constexpr int kTetrahedra[6][4] = {{0, 7, 1, 3}, {0, 7, 3, 2}, {0, 7, 2, 6},
                                            {0, 7, 6, 4}, {0, 7, 4, 5}, {0, 7, 5, 1}};
  for (int i = 0; i < cells; ++i)
    for (int j = 0; j < cells; ++j)
      for (int k = 0; k < cells; ++k) {
        size_t id[8];
        Vector3 p[8];
        for (int c = 0; c < 8; ++c) {
          const int ci = i + (c & 1), cj = j + ((c >> 1) & 1), ck = k + ((c >> 2) & 1);
          id[c] = at(ci, cj, ck);
          p[c] = corner(ci, cj, ck);
        }
        for (const auto& tetrahedron : kTetrahedra) {
          std::vector<int> in, out;
          for (const int c : tetrahedron) (values[id[c]] > 0 ? in : out).push_back(c);
          if (in.empty() || out.empty()) continue;
          // The crossed edges in order round the face: about the lone corner, or round the
          // four edges between two corners in and two out.
          std::vector<std::pair<int, int>> crossed;
          if (in.size() == 1 || out.size() == 1) {
            const int lone = in.size() == 1 ? in[0] : out[0];
            for (const int other : in.size() == 1 ? out : in) crossed.push_back({lone, other});
          } else {
            crossed = {{in[0], out[0]}, {in[0], out[1]}, {in[1], out[1]}, {in[1], out[0]}};
          }
          // Wound counter-clockwise seen from outside, where the field falls: judged on the
          // edges' midpoints, whose face never folds however near a corner the crossings lie,
          // so that neighbouring faces agree.
          Vector3 newell, fall;
          for (size_t e = 0; e < crossed.size(); ++e) {
            const auto [a1, b1] = crossed[e];
            const auto [a2, b2] = crossed[(e + 1) % crossed.size()];
            newell = newell + math::Cross((p[a1] + p[b1]) * 0.5, (p[a2] + p[b2]) * 0.5);
          }
          for (const int c : out) fall = fall + p[c] * (1.0 / out.size());
          for (const int c : in) fall = fall - p[c] * (1.0 / in.size());
          if (math::Dot(newell, fall) < 0) std::reverse(crossed.begin(), crossed.end());
          PolygonMesh::Loop loop;
          for (const auto& [a, b] : crossed) loop.push_back(crossing(id[a], id[b], p[a], p[b]));
          mesh.faces.push_back({loop});
        }
      }
  return mesh;
}

}  // namespace lumetra::host::rib
