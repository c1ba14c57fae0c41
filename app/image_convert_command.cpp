#include "app/image_convert_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "image/image_bgra.h"
#include "image/image_loader.h"
#include "image/image_writer.h"

namespace lumetra::app {

int RunImageConvert(const std::string& input, const std::string& output, bool rleTga, std::ostream& out,
                    std::ostream& err) {
  const auto format = image::FormatForFileName(output, rleTga);
  if (!format) {
    err << "lumetra image-convert: " << output
        << ": unknown output format (use .bmp, .dib, .png, .ppm, .tga or .tif)\n";
    return 2;
  }
  image::Image image;
  image::LoadReport report;
  if (image::LoadImage(image, input, &report) == 0) {
    err << "lumetra image-convert: " << report.error << "\n";
    return 1;
  }
  const std::vector<uint8_t> pixels = image::ToBottomUpBgra(image);
  try {
    image::WriteImageFile({pixels, image.Width(), image.Height()}, *format, output);
  } catch (const image::ImageWriteError& error) {
    err << "lumetra image-convert: " << error.what() << "\n";
    return 1;
  }
  out << "wrote " << output << " (" << image.Width() << " x " << image.Height() << ", from " << report.format
      << ")\n";
  return 0;
}

void RegisterImageConvertCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "image-convert", "Reads an image as the renderer does and writes it as an output file");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto rle = std::make_shared<bool>(false);
  command->add_option("IN", *input, "Image to read (PNG, GIF, BMP, JPEG, TGA or TIFF)")->required();
  command->add_option("OUT", *output, "File to write: .bmp .dib .png .ppm .tga .tif")->required();
  command->add_flag("--rle", *rle, "Run-length encode a .tga");
  command->callback([input, output, rle, &exitCode] {
    exitCode = RunImageConvert(*input, *output, *rle, std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
