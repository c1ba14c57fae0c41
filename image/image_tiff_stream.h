#pragma once

#include <tiffio.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace lumetra::image {

// libtiff's complaints about one file, kept instead of printed.
struct TiffMessages {
  std::string lastError;
};

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Opens a TIFF on an already open FILE (closing the handle leaves the FILE open).
// Warnings are dropped and errors go to `messages`, which must outlive the handle;
// no single allocation of libtiff's may exceed `maxAllocation` bytes. Null on failure.
TiffHandle OpenTiffStream(std::FILE* file, const std::string& name, const char* mode, TiffMessages& messages,
                          int64_t maxAllocation);

}  // namespace lumetra::image
