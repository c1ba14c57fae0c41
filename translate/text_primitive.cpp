#include "translate/text_primitive.h"

#include "font/font_cache.h"
#include "font/text_layout.h"
#include "platform/debug_log.h"
#include "platform/messages.h"
#include "translate/csg_tree.h"

namespace lumetra::translate {
namespace {

constexpr std::int32_t kValuesPerPoint = 3;

void AppendPoint(std::vector<double>& values, const font::GlyphPoint& point, double dx, double dy) {
  values.insert(values.end(), {point.x + dx, point.y + dy, point.onCurve ? 0.0 : 1.0});
}

L2Primitive MakeGlyphPrimitive(L2Scene scene, const font::PlacedGlyph& placed, double depth) {
  const L2Primitive glyph = CreateGlyph(scene);
  if (glyph == 0) return 0;
  for (const font::GlyphContour& contour : placed.glyph->contours) {
    const auto values = ClosedReversedContour(contour, placed.x, placed.y);
    const auto pointCount = static_cast<std::int32_t>(values.size() / kValuesPerPoint);
    if (AddContour(scene, glyph, kValuesPerPoint, pointCount, values.data()) != L2_OK) return 0;
  }
  if (SetGlyphExtrusion(scene, glyph, 0, 0, depth) != L2_OK) return 0;
  return glyph;
}

void ReportFailure(const std::string& fontFile, std::string_view text) {
  platform::DebugLog::Printf("Bad TTF Object, Font: '%s', Text: '%.*s'\n", fontFile.c_str(),
                             static_cast<int>(text.size()), text.data());
  platform::Messages::Show("Error", "Failed to process truetype", platform::MessageButtons::Ok,
                           platform::MessageIcon::Error);
}

}  // namespace

std::vector<double> ClosedReversedContour(const font::GlyphContour& contour, double dx, double dy) {
  const auto& points = contour.points;
  std::vector<double> values;
  if (points.empty()) return values;
  values.reserve((points.size() + 1) * kValuesPerPoint);
  AppendPoint(values, points.front(), dx, dy);
  for (std::size_t i = points.size() - 1; i >= 1; --i) AppendPoint(values, points[i], dx, dy);
  AppendPoint(values, points.front(), dx, dy);
  return values;
}

L2Primitive MakeTextPrimitive(L2Scene scene, const std::string& fontFile, std::string_view text, double depth,
                              double spacing, double rise) {
  if (text.empty()) return 0;
  const std::shared_ptr<font::TrueTypeFont> font = font::LoadFont(fontFile);
  if (!font) {
    ReportFailure(fontFile, text);
    return 0;
  }
  const font::TextLayout layout = font::LayOutText(*font, text, spacing, rise);
  bool failed = layout.failedGlyphs > 0;
  std::vector<L2Primitive> primitives;
  for (const font::PlacedGlyph& placed : layout.glyphs) {
    const L2Primitive glyph = MakeGlyphPrimitive(scene, placed, depth);
    if (glyph == 0) {
      failed = true;
    } else {
      primitives.push_back(glyph);
    }
  }
  if (failed) ReportFailure(fontFile, text);
  return JoinBalanced(scene, L2_CSG_UNION, primitives);
}

}  // namespace lumetra::translate
