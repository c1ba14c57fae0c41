#pragma once

#include <cstdint>
#include <cstdio>

namespace lumetra::image {

// Writes all of `data` or throws ImageWriteError.
void WriteBytes(std::FILE* file, const void* data, size_t size);
void WriteU16(std::FILE* file, uint32_t value);  // little-endian
void WriteU32(std::FILE* file, uint32_t value);  // little-endian

}  // namespace lumetra::image
