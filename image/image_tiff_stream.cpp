#include "image/image_tiff_stream.h"

#include <cstdarg>

namespace lumetra::image {
namespace {

std::FILE* AsFile(thandle_t handle) { return static_cast<std::FILE*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* data, tmsize_t size) {
  return static_cast<tmsize_t>(std::fread(data, 1, static_cast<size_t>(size), AsFile(handle)));
}

tmsize_t WriteProc(thandle_t handle, void* data, tmsize_t size) {
  return static_cast<tmsize_t>(std::fwrite(data, 1, static_cast<size_t>(size), AsFile(handle)));
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  if (offset > static_cast<toff_t>(INT64_MAX)) return static_cast<toff_t>(-1);
  if (fseeko(AsFile(handle), static_cast<off_t>(offset), whence) != 0) return static_cast<toff_t>(-1);
  return static_cast<toff_t>(ftello(AsFile(handle)));
}

int CloseProc(thandle_t) { return 0; }  // the FILE belongs to the caller

toff_t SizeProc(thandle_t handle) {
  std::FILE* file = AsFile(handle);
  const off_t position = ftello(file);
  if (position < 0 || fseeko(file, 0, SEEK_END) != 0) return 0;
  const off_t end = ftello(file);
  if (fseeko(file, position, SEEK_SET) != 0 || end < 0) return 0;
  return static_cast<toff_t>(end);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }  // no memory mapping
void UnmapProc(thandle_t, void*, toff_t) {}

int KeepError(TIFF*, void* userData, const char* module, const char* format, va_list arguments) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, arguments);
  static_cast<TiffMessages*>(userData)->lastError =
      module != nullptr ? std::string(module) + ": " + text : text;
  return 1;
}

int DropWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace

TiffHandle OpenTiffStream(std::FILE* file, const std::string& name, const char* mode, TiffMessages& messages,
                          int64_t maxAllocation) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, &messages);
  TIFFOpenOptionsSetWarningHandlerExtR(options, DropWarning, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(maxAllocation));
  TIFF* tiff = TIFFClientOpenExt(name.c_str(), mode, file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                 MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  return TiffHandle(tiff);
}

}  // namespace lumetra::image
