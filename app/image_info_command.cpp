#include "app/image_info_command.h"

#include <CLI/CLI.hpp>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "image/image_loader.h"

namespace lumetra::app {
namespace {

std::string PixelKindName(const image::Image& image) {
  std::string name;
  switch (image.pixelKind & 7) {
    case image::kPaletteIndex:
      name = "palette index";
      break;
    case image::kSingleByte:
      name = "single byte";
      break;
    default:
      name = "packed colour";
      break;
  }
  return image.HasAlpha() ? name + " with alpha" : name;
}

void PrintText(const std::string& path, const std::string& format, const image::Image& image,
               std::ostream& out) {
  const auto line = [&out](const char* label) -> std::ostream& {
    return out << std::left << std::setw(12) << label;
  };
  line("file") << path << "\n";
  line("format") << format << "\n";
  line("size") << image.Width() << " x " << image.Height() << "\n";
  line("pixel kind") << image.pixelKind << " (" << PixelKindName(image) << ")\n";
  line("palette") << image.PaletteSize() << " entries\n";
  line("bits/pixel") << image.bitsPerPixel << "\n";
  line("row order") << (image.IsBottomUp() ? "bottom-up" : "top-down") << "\n";
}

}  // namespace

int RunImageInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
  image::Image image;
  image::LoadReport report;
  if (image::LoadImage(image, path, &report) == 0) {
    err << "lumetra image-info: " << report.error << "\n";
    return 1;
  }
  if (!json) {
    PrintText(path, report.format, image, out);
    return 0;
  }
  const nlohmann::json info = {
      {"file", path},
      {"format", report.format},
      {"width", image.Width()},
      {"height", image.Height()},
      {"pixel_kind", image.pixelKind},
      {"pixel_kind_name", PixelKindName(image)},
      {"palette_size", image.PaletteSize()},
      {"bits_per_pixel", image.bitsPerPixel},
      {"row_order", image.IsBottomUp() ? "bottom-up" : "top-down"},
  };
  out << info.dump(2) << "\n";
  return 0;
}

void RegisterImageInfoCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  CLI::App* command = root.add_subcommand("image-info", "Shows how the renderer reads an image file");
  auto path = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  command->add_option("FILE", *path, "Image file (PNG, GIF, BMP, JPEG, TGA or TIFF)")->required();
  command->add_flag("--json", *json, "Print JSON");
  command->callback([path, json, &exitCode] { exitCode = RunImageInfo(*path, *json, std::cout, std::cerr); });
}

}  // namespace lumetra::app
