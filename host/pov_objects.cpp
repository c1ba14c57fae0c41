// Object kinds beyond the plain shapes: outlines, text, height fields, patches, blobs,
// superquadrics.
#include "host/pov_objects.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>

#include "abi/scene_record.h"
#include "font/font_cache.h"
#include "font/text_layout.h"
#include "host/pov_outlines.h"
#include "host/pov_text.h"
#include "image/image_loader.h"

namespace lumetra::host::pov {

SceneFiles::SceneFiles(const Scene& scene, Naming naming)
    : finder_(FolderOf(scene.path), scene.searchPaths), naming_(std::move(naming)) {}

std::optional<std::string> SceneFiles::Found(int32_t kind, const std::string& name) const {
  const std::optional<std::string> found = finder_.Find(kind, name);
  if (!found) return std::nullopt;
  std::error_code ignored;
  return std::filesystem::absolute(*found, ignored).lexically_normal().string();
}

std::string SceneFiles::Literal(const std::string& found) const {
  return StringLiteral(naming_ ? naming_(found) : found);
}

std::string StringLiteral(const std::string& text) {
  std::string literal = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      literal += '\\';
      literal += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", byte);
      literal += escape;
    } else {
      literal += c;
    }
  }
  return literal + "\"";
}

namespace {

struct ImageFormat {
  const char* reader;
  const char* keyword;
};
constexpr ImageFormat kImageFormats[] = {{"PNG", "png"},   {"GIF", "gif"}, {"BMP", "sys"},
                                         {"JPEG", "jpeg"}, {"TGA", "tga"}, {"TIFF", "tiff"}};

// Images of 16-bit channels give 16-bit heights (the ray tracer keeps three channels and
// alpha for them).
constexpr int32_t kWideBytesPerPixel = 6;

std::optional<std::string> ImageKeywordOf(const image::LoadReport& report) {
  for (const ImageFormat& format : kImageFormats) {
    if (report.format == format.reader) return std::string(format.keyword);
  }
  return std::nullopt;
}

// Lathes turn about y as POV-Ray's do; sweeps and extrusions stand along z where POV-Ray's
// prism stands along y, so y and z swap.
std::string WriteProfile(const SceneObject& object, std::ostream& out) {
  const abi::ProfileParams& profile = object.data.shape.profile;
  const bool lathe = object.type == abi::kTypeLathe;
  const std::vector<CubicPiece> pieces = OutlinePieces(object.profile, profile.splineKind, !lathe);
  if (pieces.empty()) return "its points form no outline";
  if (lathe) {
    out << "lathe { bezier_spline ";
    WriteBezierPoints(out, pieces);
    return {};
  }
  const bool cone = object.type == abi::kTypeExtrusion;
  const auto [start, end] = ProfileExtent(profile, cone);
  // The ray tracer scales a cone's outline by z / end; POV-Ray's conic sweep by its height.
  // POV-Ray's conic sweep misses bezier outlines, so its curves are followed in short lines.
  if (cone) {
    out << "prism { conic_sweep linear_spline " << start / end << ", 1, ";
    WriteLinePoints(out, pieces);
  } else {
    out << "prism { linear_sweep bezier_spline " << start << ", " << end << ", ";
    WriteBezierPoints(out, pieces);
  }
  if (cone) out << " scale <1, " << end << ", 1>";
  out << " matrix <1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0>";
  return {};
}

// The ray tracer lays the glyphs out itself (spaces take no room but their spacing); each
// glyph is written as a text of its own at the ray tracer's place.
std::string WriteText(const SceneObject& object, const SceneFiles& files, std::ostream& out) {
  const abi::TextParams& params = object.data.shape.text;
  TextGlyphs text;
  if (std::string why = LayOutTextObject(object, files, text); !why.empty()) return why;
  const std::shared_ptr<font::TrueTypeFont>& font = text.font;
  const std::string fontName = files.Literal(text.fontPath);
  out << "union {";
  for (const font::PlacedGlyph& placed : text.layout.glyphs) {
    // POV-Ray starts a text at its first glyph's left edge.
    const double x = placed.x + double(placed.glyph->xMin) / font->unitsPerEm;
    out << "\n  text { ttf " << fontName << " "
        << StringLiteral(std::string(1, char(placed.glyph->character))) << " " << params.depth << ", 0";
    if (x != 0 || placed.y != 0) out << " translate <" << x << ", " << placed.y << ", 0>";
    out << " }";
  }
  if (params.size != 1) out << "\n  scale <" << params.size << ", " << params.size << ", 1>";
  return {};
}

// POV-Ray fits the image to 0..1 in x and z and its heights to 0..1; the ray tracer to
// -1..1 (8-bit) or 0..2 (16-bit), then turns the field up to face the viewer.
std::string WriteHeightField(const SceneObject& object, const SceneFiles& files, std::ostream& out) {
  const abi::HeightFieldParams& params = object.data.shape.heightField;
  HeightImage height;
  if (std::string why = LoadHeightImage(object, files, height); !why.empty()) return why;
  const std::optional<std::string> keyword = ImageKeywordOf(height.report);
  if (!keyword) return "height image " + CommentText(height.path) + " cannot be used";
  const bool wide = height.picture.BytesPerPixel() >= kWideBytesPerPixel;
  out << "height_field { " << *keyword << " " << files.Literal(height.path)
      << (params.smooth ? " smooth" : "");
  // POV-Ray's z runs from the image's bottom row to its top; the ray tracer's from the top.
  if (wide) {
    out << " scale <2, " << 65535.0 / 32768.0 << ", -2> translate <-1, 0, 1>";
  } else {
    out << " scale <2, 2, -2> translate <-1, -1, 1>";
  }
  out << " rotate x*90";
  return {};
}

// POV-Ray divides a patch 2^steps times each way; the ray tracer into its grid of points.
int PatchSteps(uint32_t subdivision) {
  int steps = 1;
  while (steps < 5 && (1u << steps) < subdivision) ++steps;
  return steps;
}

std::string WriteSplineMesh(const SceneObject& object, std::ostream& out) {
  const std::vector<double>& points = object.splinePoints;
  const std::vector<uint32_t>& patches = object.splinePatches;
  if (patches.size() < 16) return "no patches";
  const abi::SplineMeshParams& params = object.data.shape.splineMesh;
  out << "union {";
  for (size_t p = 0; p + 15 < patches.size(); p += 16) {
    out << "\n  bicubic_patch { type 1 flatness 0 u_steps " << PatchSteps(params.subdivisionU) << " v_steps "
        << PatchSteps(params.subdivisionV);
    for (size_t i = 0; i < 16; ++i) {
      const size_t at = size_t(patches[p + i]) * 3;
      if (at + 2 >= points.size()) return "a patch names a point it does not have";
      out << (i % 4 == 0 ? "\n   " : "") << " " << Vec{points[at], points[at + 1], points[at + 2]};
    }
    out << " }";
  }
  return {};
}

constexpr uint32_t kSphereComponent = 1;
constexpr uint32_t kCylinderComponent = 2;

std::string WriteBlob(const SceneObject& object, std::ostream& out) {
  const abi::BlobParams& params = object.data.shape.blob;
  if (!(params.threshold > 0)) return "a blob needs a threshold above 0";
  out << "blob { threshold " << params.threshold;
  for (const abi::BlobComponent& c : object.blob) {
    if (c.kind == kSphereComponent) {
      out << "\n  sphere { " << VecOf(c.a) << ", " << c.radius << ", strength " << c.strength << " }";
    } else if (c.kind == kCylinderComponent) {
      out << "\n  cylinder { " << VecOf(c.a) << ", " << VecOf(c.b) << ", " << c.radius << ", strength "
          << c.strength << " }";
    }
  }
  if (params.solver) out << "\n  sturm";
  return {};
}

}  // namespace

std::string LayOutTextObject(const SceneObject& object, const SceneFiles& files, TextGlyphs& text) {
  const abi::TextParams& params = object.data.shape.text;
  if (!(params.size > 0)) return "a text of size " + std::to_string(params.size) + " draws nothing";
  const std::optional<std::string> found = files.Found(abi::kFindFont, FieldText(params.font));
  if (!found) return "font \"" + CommentText(FieldText(params.font)) + "\" not found";
  text.font = font::LoadFont(*found);
  if (!text.font) return "font " + CommentText(*found) + " cannot be read";
  text.fontPath = *found;
  text.layout = font::LayOutText(*text.font, FieldText(params.text), params.spacing, 0);
  if (text.layout.glyphs.empty()) return "the text has no glyph to draw";
  return {};
}

std::string LoadHeightImage(const SceneObject& object, const SceneFiles& files, HeightImage& height) {
  const abi::HeightFieldParams& params = object.data.shape.heightField;
  const std::optional<std::string> found = files.Found(abi::kFindHeightField, FieldText(params.image));
  if (!found) return "height image \"" + CommentText(FieldText(params.image)) + "\" not found";
  height.path = *found;
  if (image::LoadImage(height.picture, *found, &height.report) != 1 || height.picture.Width() < 2 ||
      height.picture.Height() < 2)
    return "height image " + CommentText(*found) + " cannot be used";
  return {};
}

std::optional<std::string> ImageKeyword(const std::string& path) {
  image::Image picture;
  image::LoadReport report;
  if (image::LoadImage(picture, path, &report) != 1) return std::nullopt;
  return ImageKeywordOf(report);
}

std::string WriteKindShape(const SceneObject& object, const SceneFiles& files, std::ostream& out) {
  switch (object.type) {
    case abi::kTypeLathe:
    case abi::kTypeSweep:
    case abi::kTypeExtrusion:
      return WriteProfile(object, out);
    case abi::kTypeText:
      return WriteText(object, files, out);
    case abi::kTypeHeightField:
      return WriteHeightField(object, files, out);
    case abi::kTypeSplineMesh:
      return WriteSplineMesh(object, out);
    case abi::kTypeBlob:
      return WriteBlob(object, out);
    case abi::kTypeSuperquadric: {
      const abi::SuperquadricParams& q = object.data.shape.superquadric;
      if (!(q.r > 0 && q.e > 0)) return "a superquadric needs exponents above 0";
      // The ray tracer's east-west power is the host's r, its north-south power e.
      out << "superellipsoid { <" << q.r << ", " << q.e << ">";
      return {};
    }
    default:
      return "the object kind " + std::to_string(object.type) + " is not written";
  }
}

}  // namespace lumetra::host::pov
