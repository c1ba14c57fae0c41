#include "texture/image_map_settings.h"

#include <bit>
#include <stdexcept>
#include <string>

#include "platform/byte_reader.h"

namespace lumetra::texture {
namespace {

int32_t MapTypeFrom(uint32_t value) {
  switch (value) {
    case 0:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
      return static_cast<int32_t>(value);
    default:
      return 1;
  }
}

int32_t InterpolationFrom(uint32_t value) {
  if (value >= 1 && value <= 5) return static_cast<int32_t>(value);
  return value == 8 ? 6 : 0;
}

uint32_t U32At(const uint8_t* parameters, size_t offset) {
  return platform::LoadU32(parameters + offset, platform::ByteOrder::kLittle);
}

float FloatAt(const uint8_t* parameters, size_t offset) {
  return std::bit_cast<float>(U32At(parameters, offset));
}

bool FlagAt(const uint8_t* parameters, size_t offset) { return U32At(parameters, offset) != 0; }

}  // namespace

BitmapModifiers ReadBitmapModifiers(const uint8_t* parameters, size_t size) {
  if (size < kBitmapModifiersRecordSize) {
    throw std::invalid_argument("bitmap modifiers need " + std::to_string(kBitmapModifiersRecordSize) +
                                " bytes of node parameters, got " + std::to_string(size));
  }
  BitmapModifiers modifiers;
  modifiers.mapType = MapTypeFrom(U32At(parameters, 256));
  modifiers.interpolation = InterpolationFrom(U32At(parameters, 260));
  modifiers.once = FlagAt(parameters, 264);
  modifiers.interpolate = FlagAt(parameters, 268);
  const uint32_t alphaMode = U32At(parameters, 272);
  modifiers.alphaMode = alphaMode >= 1 && alphaMode <= 4 ? static_cast<int32_t>(alphaMode) : 0;
  modifiers.useIndex = FlagAt(parameters, 276);
  modifiers.filterAll = FloatAt(parameters, 280);
  modifiers.transmitAll = FloatAt(parameters, 284);
  modifiers.extraFlagA = FlagAt(parameters, 2340);
  modifiers.extraValues[0] = FloatAt(parameters, 2344);
  modifiers.extraValues[1] = FloatAt(parameters, 2348);
  modifiers.extraFlagB = FlagAt(parameters, 4404);
  return modifiers;
}

}  // namespace lumetra::texture
