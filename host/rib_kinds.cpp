// The object kinds the RIB writer gives as meshes, read as the ray tracer reads them.
#include <cmath>

#include "abi/scene_record.h"
#include "host/pov_objects.h"
#include "host/rib_meshes.h"

namespace lumetra::host::rib {
namespace {

// Cells a side of the grid a blob's surface is found on.
constexpr int kBlobCells = 48;

std::string Profile(const SceneObject& object, PolygonMesh& mesh) {
  const abi::ProfileParams& profile = object.data.shape.profile;
  const bool lathe = object.type == abi::kTypeLathe;
  const std::vector<pov::CubicPiece> pieces = pov::OutlinePieces(object.profile, profile.splineKind, !lathe);
  if (pieces.empty()) return "its points form no outline";
  const Outline outline = pov::OutlinePolyline(pieces, !lathe);
  if (lathe) {
    mesh = RevolvedMesh(outline);
  } else {
    const bool cone = object.type == abi::kTypeExtrusion;
    const auto [start, end] = pov::ProfileExtent(profile, cone);
    mesh = ExtrudedMesh({outline}, start, end, cone);
  }
  return {};
}

// Glyph contours are TrueType's quadratic outlines: points off the curve steer it, with a
// point on it implied half way between two of them.
std::string Text(const SceneObject& object, const pov::SceneFiles& files, PolygonMesh& mesh) {
  const abi::TextParams& params = object.data.shape.text;
  pov::TextGlyphs text;
  if (std::string why = pov::LayOutTextObject(object, files, text); !why.empty()) return why;
  constexpr uint32_t kQuadraticWithCorners = 3;
  std::vector<Outline> outlines;
  for (const font::PlacedGlyph& placed : text.layout.glyphs) {
    for (const font::GlyphContour& contour : placed.glyph->contours) {
      std::vector<abi::ProfilePoint> points;
      for (const font::GlyphPoint& p : contour.points) {
        points.push_back({p.x + placed.x, p.y + placed.y, 0, p.onCurve ? abi::kProfilePointCorner : 0u, 0});
      }
      if (points.empty()) continue;
      points.push_back(points.front());  // the host's closing repeat, which outlines drop
      Outline outline = pov::OutlinePolyline(pov::OutlinePieces(points, kQuadraticWithCorners, true), true);
      for (auto& [x, y] : outline) x *= params.size, y *= params.size;
      outlines.push_back(std::move(outline));
    }
  }
  mesh = ExtrudedMesh(outlines, 0, params.depth, false);
  if (mesh.faces.empty()) return "the text's glyphs have no outline";
  return {};
}

std::string HeightField(const SceneObject& object, const pov::SceneFiles& files, PolygonMesh& mesh) {
  pov::HeightImage height;
  if (std::string why = pov::LoadHeightImage(object, files, height); !why.empty()) return why;
  mesh = HeightFieldMesh(image::SamplesOfImage(height.picture));
  return {};
}

}  // namespace

PolygonMesh HeightFieldMesh(const image::HeightSamples& samples) {
  PolygonMesh mesh;
  const int32_t w = samples.width, h = samples.height;
  if (w < 2 || h < 2) return mesh;
  for (int32_t row = 0; row < h; ++row) {
    for (int32_t column = 0; column < w; ++column) {
      const size_t at = size_t(row) * size_t(w) + size_t(column);
      const double z = samples.wide ? samples.words[at] / 32768.0 : samples.narrow[at] / 255.0 * 2 - 1;
      mesh.Add({2.0 * column / (w - 1) - 1, 1 - 2.0 * row / (h - 1), z});
    }
  }
  for (int32_t row = 0; row + 1 < h; ++row) {
    for (int32_t column = 0; column + 1 < w; ++column) {
      const auto id = [&](int32_t r, int32_t c) { return static_cast<uint32_t>(r * w + c); };
      // Two triangles a cell, facing +z.
      mesh.faces.push_back({{id(row, column), id(row + 1, column), id(row + 1, column + 1)}});
      mesh.faces.push_back({{id(row, column), id(row + 1, column + 1), id(row, column + 1)}});
    }
  }
  return mesh;
}

std::string KindMesh(const SceneObject& object, const pov::SceneFiles& files, PolygonMesh& mesh) {
  switch (object.type) {
    case abi::kTypeLathe:
    case abi::kTypeSweep:
    case abi::kTypeExtrusion:
      return Profile(object, mesh);
    case abi::kTypeText:
      return Text(object, files, mesh);
    case abi::kTypeHeightField:
      return HeightField(object, files, mesh);
    case abi::kTypeBlob: {
      const double threshold = object.data.shape.blob.threshold;
      if (!(threshold > 0)) return "a blob needs a threshold above 0";
      mesh = BlobMesh(object.blob, threshold, kBlobCells);
      return mesh.faces.empty() ? "the blob's fields never reach its threshold" : std::string();
    }
    case abi::kTypeSuperquadric: {
      const abi::SuperquadricParams& q = object.data.shape.superquadric;
      if (!(q.r > 0 && q.e > 0)) return "a superquadric needs exponents above 0";
      // The ray tracer's east-west power is the host's r, its north-south power e.
      mesh = SuperquadricMesh(q.r, q.e);
      return {};
    }
    default:
      return "the object kind " + std::to_string(object.type) + " is not written";
  }
}

}  // namespace lumetra::host::rib
