#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "font/truetype_font.h"

namespace lumetra::font {

// The fonts text objects have loaded, by file name. Shared by every job of
// the process; two jobs may translate text at once.
class FontCache {
 public:
  // The cached font, or a newly read one; null when the file cannot be opened
  // or is not a usable font (the reason goes to stderr).
  std::shared_ptr<TrueTypeFont> Load(const std::string& fileName);
  // Forgets every font; fonts still in use live on with their users.
  void Release();

  static FontCache& Process();

 private:
  std::mutex mutex_;
  std::vector<std::shared_ptr<TrueTypeFont>> fonts_;
};

// LoadFont and ReleaseFonts work on the process-wide cache.
std::shared_ptr<TrueTypeFont> LoadFont(const std::string& fileName);
void ReleaseFonts();

// The cached glyph for character, or one read from the reopened font file.
// Null when it cannot be read; the reason goes to stderr and nothing else fails.
const TrueTypeGlyph* GetGlyph(TrueTypeFont& font, std::uint8_t character);

}  // namespace lumetra::font
