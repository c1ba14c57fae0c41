#include "platform/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumetra::platform {
namespace {

const std::vector<std::uint8_t> kBlock = {0x12, 0x34, 0x56, 0x78, 0xFE, 0xFF, 0x80, 0x00, 0x00, 0x01};

TEST(ByteReader, ReadsEveryWidthInEitherOrder) {
  ByteReader big(kBlock, ByteOrder::kBig);
  EXPECT_EQ(big.U32(), 0x12345678u);
  EXPECT_EQ(big.I16(), -257);
  EXPECT_EQ(big.I32(), static_cast<std::int32_t>(0x80000001u));
  EXPECT_EQ(big.Remaining(), 0u);

  ByteReader little(kBlock, ByteOrder::kLittle);
  EXPECT_EQ(little.U8(), 0x12);
  EXPECT_EQ(little.U16(), 0x5634);
  little.Skip(1);
  EXPECT_EQ(little.I16(), -2);
  EXPECT_EQ(little.U32(), 0x01000080u);
  little.Seek(2);
  EXPECT_EQ(little.Position(), 2u);
  EXPECT_EQ(little.I32(), static_cast<std::int32_t>(0xFFFE7856u));

  EXPECT_EQ(LoadU16(kBlock.data() + 4, ByteOrder::kLittle), 0xFFFE);
  EXPECT_EQ(LoadU32(kBlock.data() + 6, ByteOrder::kBig), 0x80000001u);
  EXPECT_EQ(LoadBytes(kBlock.data(), 3, ByteOrder::kLittle), 0x563412u);
}

TEST(ByteReader, StoredBytesReadBackInTheirOrder) {
  EXPECT_EQ(StoreBytes<4>(0x12345678, ByteOrder::kBig),
            (std::array<std::uint8_t, 4>{0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(StoreBytes<2>(0x12345678, ByteOrder::kLittle), (std::array<std::uint8_t, 2>{0x78, 0x56}));
  for (const ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    for (const std::uint32_t value : {0u, 1u, 0x80u, 0xFFFFu, 0x10000u, 0xDEADBEEFu}) {
      EXPECT_EQ(LoadU32(StoreBytes<4>(value, order).data(), order), value);
      EXPECT_EQ(LoadU16(StoreBytes<2>(value, order).data(), order), value & 0xFFFF);
    }
  }
}

struct ShortRead {
  std::size_t at;
  std::size_t needed;
};

TEST(ByteReader, AReadPastTheEndFailsThroughTheHandlerAndConsumesNothing) {
  ByteReader reader(kBlock, ByteOrder::kBig, [](std::size_t at, std::size_t needed) {
    throw ShortRead{at, needed};
  });
  reader.Skip(8);
  try {
    reader.U32();
    FAIL() << "read past the end";
  } catch (const ShortRead& failure) {
    EXPECT_EQ(failure.at, 8u);
    EXPECT_EQ(failure.needed, 4u);
  }
  EXPECT_EQ(reader.Position(), 8u);
  EXPECT_EQ(reader.U16(), 0x0001);
  EXPECT_THROW(reader.U8(), ShortRead);
  EXPECT_THROW(reader.Need(1), ShortRead);
  EXPECT_NO_THROW(reader.Need(0));
  try {
    reader.Seek(11);
    FAIL() << "seek past the end";
  } catch (const ShortRead& failure) {
    EXPECT_EQ(failure.at, 0u);
    EXPECT_EQ(failure.needed, 11u);
  }
  reader.Seek(10);
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteReader, WithoutAHandlerOrWhenItReturnsAShortReadThrowsOutOfRange) {
  ByteReader plain(std::span<const std::uint8_t>(kBlock).first(3), ByteOrder::kLittle);
  EXPECT_EQ(plain.U16(), 0x3412);
  try {
    plain.U16();
    FAIL() << "read past the end";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "2 bytes needed at offset 2, the data ends at 3");
  }
  int calls = 0;
  ByteReader lenient(kBlock, ByteOrder::kLittle, [&](std::size_t, std::size_t) { ++calls; });
  EXPECT_THROW(lenient.Skip(11), std::out_of_range);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(lenient.Position(), 0u);
}

}  // namespace
}  // namespace lumetra::platform
