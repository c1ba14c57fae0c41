#include "texture/image_map_settings.h"

#include <gtest/gtest.h>

#include <bit>
#include <stdexcept>
#include <vector>

namespace lumetra::texture {
namespace {

void Put32(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(BitmapModifiersTest, FieldsAreReadFromTheirOffsetsAndNormalised) {
  std::vector<uint8_t> record(kBitmapModifiersRecordSize, 0);
  Put32(record, 256, 5);
  Put32(record, 260, 8);
  Put32(record, 264, 7);
  Put32(record, 272, 4);
  Put32(record, 276, 1);
  Put32(record, 280, std::bit_cast<uint32_t>(0.25f));
  Put32(record, 2340, 1);
  Put32(record, 2348, std::bit_cast<uint32_t>(-2.0f));
  Put32(record, 4404, 3);
  BitmapModifiers modifiers = ReadBitmapModifiers(record.data(), record.size());
  EXPECT_EQ(modifiers.mapType, 5);
  EXPECT_EQ(modifiers.interpolation, 6);
  EXPECT_TRUE(modifiers.once);
  EXPECT_FALSE(modifiers.interpolate);
  EXPECT_EQ(modifiers.alphaMode, 4);
  EXPECT_TRUE(modifiers.useIndex);
  EXPECT_EQ(modifiers.filterAll, 0.25f);
  EXPECT_TRUE(modifiers.extraFlagA);
  EXPECT_EQ(modifiers.extraValues[1], -2.0f);
  EXPECT_TRUE(modifiers.extraFlagB);

  Put32(record, 256, 7);
  Put32(record, 260, 7);
  Put32(record, 272, 5);
  modifiers = ReadBitmapModifiers(record.data(), record.size());
  EXPECT_EQ(modifiers.mapType, 1);
  EXPECT_EQ(modifiers.interpolation, 0);
  EXPECT_EQ(modifiers.alphaMode, 0);
  EXPECT_THROW(ReadBitmapModifiers(record.data(), record.size() - 1), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra::texture
