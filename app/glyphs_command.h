#pragma once

#include <iosfwd>
#include <string>

#include "font/glyph_outline.h"
#include "font/text_layout.h"

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// What `lumetra glyphs` was asked.
struct GlyphsArgs {
  std::string font;     // TrueType file
  std::string text;     // bytes, one glyph per byte, as a text object holds them
  std::string output;   // the SVG file to write
  double depth = 0;     // extrusion depth in ems; above 0 the back face is drawn too
  double spacing = 0;   // added after every character, in ems
  double rise = 0;      // added to the height after every character, in ems
  bool points = false;  // mark on-curve (filled) and off-curve (hollow) points
};

// `lumetra glyphs FONT TEXT -o FILE.svg`: draws what a text object becomes.
void RegisterGlyphsCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Lays the text out as a text object would and writes its glyph outlines as an
// SVG picture; returns 0, or 1 after a line on err when the font or the file fails.
int RunGlyphs(const GlyphsArgs& args, std::ostream& out, std::ostream& err);

// The SVG picture of a laid-out text: one em is 1000 units, y points up.
std::string GlyphsSvg(const font::TextLayout& layout, double depth, bool points);

// SVG path data of one closed contour moved by (dx, dy) ems: quadratic curves
// through the on-curve points, with the on-curve point implied midway between
// two off-curve points.
std::string ContourPathData(const font::GlyphContour& contour, double dx, double dy);

}  // namespace lumetra::app
