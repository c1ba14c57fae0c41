#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "font/font_cache.h"
#include "font/text_layout.h"
#include "host/file_finder.h"
#include "host/scene.h"
#include "image/image_loader.h"

namespace lumetra::host::pov {

// The files a scene names (fonts, images), found as the host finds them and named as the
// .pov names them.
class SceneFiles {
 public:
  using Naming = std::function<std::string(const std::string& found)>;
  SceneFiles(const Scene& scene, Naming naming);

  // The file the host finds for `name`, absolute; nothing when it finds none.
  std::optional<std::string> Found(int32_t kind, const std::string& name) const;
  // A found file as a POV-Ray string literal.
  std::string Literal(const std::string& found) const;

 private:
  FileFinder finder_;
  Naming naming_;
};

// A POV-Ray string literal: quoted, with quotes, backslashes and bytes outside ASCII escaped.
std::string StringLiteral(const std::string& text);

// POV-Ray's keyword for an image file's format (png, jpeg, ...), from the reader that takes
// it; nothing when no reader does.
std::optional<std::string> ImageKeyword(const std::string& path);

// A fixed-size text field of a record up to its first zero.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// A text object's glyphs laid out as the ray tracer lays them out, an em high, with the font
// they come from. Returns why there are none (no size, no font, no glyph), empty otherwise.
struct TextGlyphs {
  std::shared_ptr<font::TrueTypeFont> font;
  std::string fontPath;
  font::TextLayout layout;
};
std::string LayOutTextObject(const SceneObject& object, const SceneFiles& files, TextGlyphs& text);

// A height field's image as the host finds and reads it. Returns why it cannot be used.
struct HeightImage {
  std::string path;
  image::Image picture;
  image::LoadReport report;
};
std::string LoadHeightImage(const SceneObject& object, const SceneFiles& files, HeightImage& height);

// Writes the POV-Ray shape of a lathe, sweep, extrusion, text, height field, spline mesh,
// blob, superquadric or plug-in object, open for the transforms and texture to follow.
// Returns why nothing was written (the writer makes that a comment), empty when written.
std::string WriteKindShape(const SceneObject& object, const SceneFiles& files, std::ostream& out);

}  // namespace lumetra::host::pov
