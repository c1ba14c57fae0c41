#include "font/font_cache.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "font/character_map.h"

namespace lumetra::font {
namespace {

std::optional<FontFile> OpenFontFile(const std::string& fileName) {
  auto file = FontFile::Open(fileName);
  if (!file) std::fprintf(stderr, "Can't open font file: '%s'\n", fileName.c_str());
  return file;
}

void ReportBadFont(const std::string& fileName, const FontFormatError& error) {
  std::fprintf(stderr, "Bad font file '%s': %s\n", fileName.c_str(), error.what());
}

}  // namespace

std::shared_ptr<TrueTypeFont> FontCache::Load(const std::string& fileName) {
  std::lock_guard lock(mutex_);
  const auto cached = std::find_if(fonts_.begin(), fonts_.end(),
                                   [&](const auto& font) { return font->fileName == fileName; });
  // Even a cached font must still open: its glyphs are read later.
  const auto file = OpenFontFile(fileName);
  if (!file) return nullptr;
  if (cached != fonts_.end()) return *cached;
  try {
    std::shared_ptr<TrueTypeFont> font = ReadTrueTypeFont(*file);
    fonts_.push_back(font);
    return font;
  } catch (const FontFormatError& error) {
    ReportBadFont(fileName, error);
  } catch (const std::bad_alloc&) {
    std::fputs("Out of memory\n", stderr);
  }
  return nullptr;
}

void FontCache::Release() {
  std::lock_guard lock(mutex_);
  fonts_.clear();
}

FontCache& FontCache::Process() {
  static FontCache cache;
  return cache;
}

std::shared_ptr<TrueTypeFont> LoadFont(const std::string& fileName) {
  return FontCache::Process().Load(fileName);
}

void ReleaseFonts() { FontCache::Process().Release(); }

const TrueTypeGlyph* GetGlyph(TrueTypeFont& font, std::uint8_t character) {
  std::lock_guard lock(font.glyphMutex);
  for (const TrueTypeGlyph& glyph : font.glyphs) {
    if (glyph.character == character) return &glyph;
  }
  const auto file = OpenFontFile(font.fileName);
  if (!file) return nullptr;
  if (!font.HasOutlines()) {
    std::fprintf(stderr, "Font file '%s' has no glyph outlines\n", font.fileName.c_str());
    return nullptr;
  }
  try {
    const std::uint16_t index = GlyphIndex(*file, font, character);
    font.glyphs.push_front(ReadGlyphOutline(*file, font, index, character));
    return &font.glyphs.front();
  } catch (const FontFormatError& error) {
    ReportBadFont(font.fileName, error);
  } catch (const std::bad_alloc&) {
    std::fputs("Out of memory\n", stderr);
  }
  return nullptr;
}

}  // namespace lumetra::font
