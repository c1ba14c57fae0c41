#include "image/image_writer.h"

#include <algorithm>
#include <cctype>

#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"
#include "platform/file_io.h"

namespace lumetra::image {
namespace {

void CheckPicture(const BgraPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) throw ImageWriteError("the picture is empty");
  const uint64_t bytes = static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(picture.height) * 4;
  if (picture.bottomUpBgra.size() != bytes)
    throw ImageWriteError("the picture's bytes do not match its size");
}

void Encode(std::FILE* file, const BgraPicture& picture, ImageFileFormat format) {
  switch (format) {
    case ImageFileFormat::kBmp:
    case ImageFileFormat::kDib:
      return WriteBmp(file, picture);
    case ImageFileFormat::kPng:
      return WritePng(file, picture);
    case ImageFileFormat::kPpm:
      return WritePpm(file, picture);
    case ImageFileFormat::kTga:
      return WriteTga(file, picture, false);
    case ImageFileFormat::kTgaRle:
      return WriteTga(file, picture, true);
    case ImageFileFormat::kTiff:
      return WriteTiff(file, picture);
  }
}

}  // namespace

ImageFileFormat FormatForOutputChoice(int choice) {
  switch (choice) {
    case 1:
      return ImageFileFormat::kBmp;
    case 2:
      return ImageFileFormat::kDib;
    case 3:
      return ImageFileFormat::kPng;
    case 4:
      return ImageFileFormat::kPpm;
    case 5:
      return ImageFileFormat::kTga;
    case 7:
      return ImageFileFormat::kTiff;
    default:
      return ImageFileFormat::kTgaRle;
  }
}

const char* ExtensionOf(ImageFileFormat format) {
  switch (format) {
    case ImageFileFormat::kBmp:
      return ".bmp";
    case ImageFileFormat::kDib:
      return ".dib";
    case ImageFileFormat::kPng:
      return ".png";
    case ImageFileFormat::kPpm:
      return ".ppm";
    case ImageFileFormat::kTiff:
      return ".tif";
    case ImageFileFormat::kTga:
    case ImageFileFormat::kTgaRle:
      break;
  }
  return ".tga";
}

std::optional<ImageFileFormat> FormatForFileName(std::string_view fileName, bool rleTga) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string extension(fileName.substr(dot));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".tga") return rleTga ? ImageFileFormat::kTgaRle : ImageFileFormat::kTga;
  if (extension == ".tiff") return ImageFileFormat::kTiff;
  for (ImageFileFormat format : {ImageFileFormat::kBmp, ImageFileFormat::kDib, ImageFileFormat::kPng,
                                 ImageFileFormat::kPpm, ImageFileFormat::kTiff}) {
    if (extension == ExtensionOf(format)) return format;
  }
  return std::nullopt;
}

void WriteImageFile(const BgraPicture& picture, ImageFileFormat format, const std::string& path) {
  try {
    CheckPicture(picture);
    std::error_code error;
    platform::AtomicFile file(path, error);
    std::FILE* stream = error ? nullptr : file.Stream(error);
    if (error) throw ImageWriteError(path + ": cannot create: " + error.message());
    Encode(stream, picture, format);
    if ((error = file.Commit())) throw ImageWriteError(path + ": cannot save: " + error.message());
  } catch (const ImageWriteError& error) {
    const std::string message = error.what();
    // Messages from the file itself already name it.
    if (message.rfind(path + ":", 0) == 0) throw;
    throw ImageWriteError(path + ": " + message);
  }
}

bool WriteOutputFile(const BgraPicture& picture, int outputChoice, const std::string& basePath,
                     std::string* error) {
  const ImageFileFormat format = FormatForOutputChoice(outputChoice);
  try {
    WriteImageFile(picture, format, basePath + ExtensionOf(format));
    return true;
  } catch (const ImageWriteError& failure) {
    if (error != nullptr) *error = failure.what();
    return false;
  }
}

}  // namespace lumetra::image
