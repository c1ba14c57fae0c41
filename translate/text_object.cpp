#include <cstdio>

#include "abi/result_codes.h"
#include "platform/messages.h"
#include "translate/primitive_makers.h"
#include "translate/text_primitive.h"

namespace translate {
namespace {

void ShowFontMissing(const std::string& font) {
  char text[iface::kMaxPath + 64];
  std::snprintf(text, sizeof text, "Can't find font: [%s]", font.c_str());
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

}  // namespace

// The host's text has no rise: its glyphs stand on one line.
L2Primitive MakeText(const ShapeSource& source) {
  const iface::TextParams& params = source.object.Shape().text;
  const std::string font = FieldText(params.font);
  char path[iface::kMaxPath] = {};
  std::snprintf(path, sizeof path, "%s", font.c_str());
  if (!source.host.findFile || source.host.findFile(iface::kFindFont, path) != iface::kOk) {
    ShowFontMissing(font);
    return 0;
  }
  return MakeTextPrimitive(source.scene, FieldText(path), FieldText(params.text), params.depth, params.spacing, 0);
}

}  // namespace translate
