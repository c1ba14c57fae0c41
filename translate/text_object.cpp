#include <cstdio>

#include "abi/result_codes.h"
#include "platform/debug_log.h"
#include "platform/messages.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"
#include "translate/text_primitive.h"

namespace lumetra::translate {
namespace {

void ShowFontMissing(const std::string& font) {
  char text[abi::kMaxPath + 64];
  std::snprintf(text, sizeof text, "Can't find font: [%s]", font.c_str());
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

}  // namespace

// The host's text has no rise: its glyphs stand on one line. They are laid out an em high;
// the text's size scales them across and up, its depth stays. A size that is not above 0
// leaves nothing to draw.
L2Primitive MakeText(const ShapeSource& source) {
  const abi::TextParams& params = source.object.Shape().text;
  if (!(params.size > 0)) {
    platform::DebugLog::Printf("Text '%s' of size %g not drawn\n", FieldText(params.text).c_str(),
                               params.size);
    return 0;
  }
  const std::string font = FieldText(params.font);
  char path[abi::kMaxPath] = {};
  std::snprintf(path, sizeof path, "%s", font.c_str());
  if (!source.host.findFile || source.host.findFile(abi::kFindFont, path) != abi::kOk) {
    ShowFontMissing(font);
    return 0;
  }
  const L2Primitive text = MakeTextPrimitive(source.scene, FieldText(path), FieldText(params.text),
                                             params.depth, params.spacing, 0);
  if (text != 0 && params.size != 1) {
    LogRefusal(ScalePrim(source.scene, text, params.size, params.size, 1), "ScalePrim");
  }
  return text;
}

}  // namespace lumetra::translate
