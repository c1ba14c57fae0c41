#include "app/glyphs_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <numbers>
#include <sstream>

#include "font/font_cache.h"
#include "platform/file_io.h"

namespace lumetra::app {
namespace {

constexpr double kUnitsPerEm = 1000;
constexpr double kMargin = 50;
// The back face of an extrusion is drawn as a cabinet projection: half the
// depth, 30 degrees up to the right.
const double kBackFaceX = 0.5 * std::cos(std::numbers::pi / 6);
const double kBackFaceY = 0.5 * std::sin(std::numbers::pi / 6);

struct SvgPoint {
  double x, y;
};

SvgPoint ToSvg(const font::GlyphPoint& point, double dx, double dy) {
  return {(point.x + dx) * kUnitsPerEm, -(point.y + dy) * kUnitsPerEm};
}

SvgPoint Midpoint(SvgPoint a, SvgPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", std::abs(value) < 5e-7 ? 0.0 : value);
  return text;
}

std::string Coordinates(SvgPoint point) { return Number(point.x) + " " + Number(point.y); }

// The smallest box around every point of the layout, its back face included.
struct Bounds {
  double minX = std::numeric_limits<double>::infinity(), minY = minX, maxX = -minX, maxY = -minX;

  void Add(SvgPoint point) {
    minX = std::min(minX, point.x), maxX = std::max(maxX, point.x);
    minY = std::min(minY, point.y), maxY = std::max(maxY, point.y);
  }
  bool Empty() const { return minX > maxX; }
};

Bounds LayoutBounds(const font::TextLayout& layout, double depth) {
  Bounds bounds;
  for (const auto& placed : layout.glyphs) {
    for (const auto& contour : placed.glyph->contours) {
      for (const auto& point : contour.points) {
        bounds.Add(ToSvg(point, placed.x, placed.y));
        bounds.Add(ToSvg(point, placed.x + depth * kBackFaceX, placed.y + depth * kBackFaceY));
      }
    }
  }
  if (bounds.Empty()) bounds.Add({0, 0});
  return bounds;
}

void WriteFace(std::ostream& svg, const font::TextLayout& layout, double dx, double dy, const char* style) {
  for (const auto& placed : layout.glyphs) {
    svg << "  <path " << style << " d=\"";
    for (const auto& contour : placed.glyph->contours)
      svg << ContourPathData(contour, placed.x + dx, placed.y + dy);
    svg << "\"/>\n";
  }
}

void WritePointMarks(std::ostream& svg, const font::TextLayout& layout) {
  for (const auto& placed : layout.glyphs) {
    for (const auto& contour : placed.glyph->contours) {
      for (const auto& point : contour.points) {
        const SvgPoint at = ToSvg(point, placed.x, placed.y);
        svg << "  <circle cx=\"" << Number(at.x) << "\" cy=\"" << Number(at.y) << "\" r=\"6\" "
            << (point.onCurve ? "fill=\"#c0392b\"" : "fill=\"none\" stroke=\"#2471a3\" stroke-width=\"2\"")
            << "/>\n";
      }
    }
  }
}

}  // namespace

std::string ContourPathData(const font::GlyphContour& contour, double dx, double dy) {
  const auto& points = contour.points;
  if (points.empty()) return "";
  const std::size_t count = points.size();
  // Start on an on-curve point, or midway between the last and first points of
  // a contour that has none.
  const auto firstOn =
      std::find_if(points.begin(), points.end(), [](const auto& point) { return point.onCurve; });
  const bool hasOn = firstOn != points.end();
  const std::size_t startIndex = hasOn ? static_cast<std::size_t>(firstOn - points.begin()) : count - 1;
  const SvgPoint start =
      hasOn ? ToSvg(*firstOn, dx, dy) : Midpoint(ToSvg(points.back(), dx, dy), ToSvg(points.front(), dx, dy));
  std::string data = "M" + Coordinates(start);
  bool pending = false;
  SvgPoint control{};
  for (std::size_t step = 1; step <= count; ++step) {
    const auto& point = points[(startIndex + step) % count];
    const SvgPoint here = ToSvg(point, dx, dy);
    if (point.onCurve) {
      data += pending ? "Q" + Coordinates(control) + " " + Coordinates(here) : "L" + Coordinates(here);
      pending = false;
    } else {
      if (pending) data += "Q" + Coordinates(control) + " " + Coordinates(Midpoint(control, here));
      control = here;
      pending = true;
    }
  }
  if (pending) data += "Q" + Coordinates(control) + " " + Coordinates(start);
  return data + "Z";
}

std::string GlyphsSvg(const font::TextLayout& layout, double depth, bool points) {
  const Bounds bounds = LayoutBounds(layout, depth);
  const double width = bounds.maxX - bounds.minX + 2 * kMargin;
  const double height = bounds.maxY - bounds.minY + 2 * kMargin;
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << Number(bounds.minX - kMargin) << " "
      << Number(bounds.minY - kMargin) << " " << Number(width) << " " << Number(height) << "\" width=\""
      << Number(std::ceil(width / 2)) << "\" height=\"" << Number(std::ceil(height / 2)) << "\">\n"
      << "  <line x1=\"" << Number(bounds.minX - kMargin) << "\" y1=\"0\" x2=\""
      << Number(bounds.maxX + kMargin) << "\" y2=\"0\" stroke=\"#aaaaaa\" stroke-width=\"2\"/>\n";
  if (depth > 0) {
    WriteFace(svg, layout, depth * kBackFaceX, depth * kBackFaceY,
              "fill=\"#dddddd\" stroke=\"#888888\" stroke-width=\"3\" fill-rule=\"nonzero\"");
  }
  WriteFace(
      svg, layout, 0, 0,
      "fill=\"#333333\" fill-opacity=\"0.85\" stroke=\"#000000\" stroke-width=\"3\" fill-rule=\"nonzero\"");
  if (points) WritePointMarks(svg, layout);
  svg << "</svg>\n";
  return svg.str();
}

int RunGlyphs(const GlyphsArgs& args, std::ostream& out, std::ostream& err) {
  const auto font = font::LoadFont(args.font);  // says on stderr why it cannot
  if (!font) {
    err << "lumetra: no glyphs from '" << args.font << "'\n";
    return 1;
  }
  const font::TextLayout layout = font::LayOutText(*font, args.text, args.spacing, args.rise);
  if (layout.failedGlyphs > 0) {
    err << "lumetra: " << layout.failedGlyphs << " character(s) have no outline of their own\n";
  }
  if (const std::error_code error =
          platform::WriteFileAtomically(args.output, GlyphsSvg(layout, args.depth, args.points))) {
    err << "lumetra: cannot write '" << args.output << "': " << error.message() << "\n";
    return 1;
  }
  out << "Wrote " << args.output << ": " << layout.glyphs.size() << " glyph outline(s), " << font->unitsPerEm
      << " units per em\n";
  return 0;
}

void RegisterGlyphsCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("glyphs", "Draw the glyph outlines a text object makes of a font and a text");
  auto args = std::make_shared<GlyphsArgs>();
  command->add_option("FONT", args->font, "TrueType font file")->required();
  command->add_option("TEXT", args->text, "The text, one glyph per byte")->required();
  command->add_option("-o,--output", args->output, "SVG file to write")->required();
  command->add_option("--depth", args->depth, "Extrusion depth in ems; the back face is drawn behind")
      ->check(CLI::NonNegativeNumber);
  command->add_option("--spacing", args->spacing, "Added after every character, in ems");
  command->add_option("--rise", args->rise, "Added to the height after every character, in ems");
  command->add_flag("--points", args->points, "Mark on-curve (filled) and off-curve (hollow) points");
  command->footer(
      "The text is laid out as a text object is: advances and kerning from the font, spacing and\n"
      "rise after every character, a space adding only the spacing. One em is 1000 SVG units.\n"
      "Exit codes: 0 written; 1 the font could not be read or the file could not be written.");
  command->callback([args, &exitCode] { exitCode = RunGlyphs(*args, std::cout, std::cerr); });
}

}  // namespace lumetra::app
