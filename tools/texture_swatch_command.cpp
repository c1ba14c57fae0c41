#include "tools/texture_swatch_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "abi/result_codes.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "image/image_writer.h"
#include "texture/callbacks.h"
#include "texture/image_list.h"
#include "translate/texture_translator.h"

namespace lumetra::tools {
namespace {

constexpr const char* kPrefix = "lumetra-tool texture-swatch: ";

// The swatch has no scene translation behind it: nothing is animated, nothing is lit by
// the render library.
struct SwatchSink : translate::TranslationSink {
  void Track(Target, const translate::NodeRecord&) override {}
};

// The shading record of the swatch point at (a, b) of the plane, seen head-on.
L2ShadingRecord SwatchPoint(SwatchPlane plane, double a, double b, double u, double v) {
  L2ShadingRecord record{};
  double normal[3] = {0.0, 0.0, 0.0};
  double point[3] = {0.0, 0.0, 0.0};
  switch (plane) {
    case SwatchPlane::kXy:
      point[0] = a;
      point[1] = b;
      normal[2] = -1.0;
      break;
    case SwatchPlane::kXz:
      point[0] = a;
      point[2] = b;
      normal[1] = 1.0;
      break;
    case SwatchPlane::kYz:
      point[1] = a;
      point[2] = b;
      normal[0] = 1.0;
      break;
  }
  for (int i = 0; i < 3; ++i) {
    record.point[i] = record.world_point[i] = point[i];
    record.normal[i] = record.geometric_normal[i] = normal[i];
    record.ray_direction[i] = -normal[i];
  }
  record.u = u;
  record.v = v;
  record.ray_distance = 1.0;
  record.weight = 1.0;
  return record;
}

// What the render library puts into a sample before a texture fills it.
SurfaceSample DefaultSample() {
  SurfaceSample sample{};
  std::fill(sample.color, sample.color + 4, 1.0f);
  sample.ambient = 0.1f;
  sample.diffuse = 0.6f;
  std::fill(sample.highlight_color, sample.highlight_color + 3, 1.0f);
  sample.brilliance = 1.0f;
  sample.phong_size = 1.0f;
  sample.specular_exponent = 1.0f;
  sample.ior = 1.0f;
  return sample;
}

// One white light at the eye: ambient, diffuse and the phong and specular highlights of a
// light straight along the (perturbed) normal's view direction, over a grey checkerboard
// that shows what the surface lets through.
std::array<float, 3> LightHeadOn(const L2ShadingRecord& record, const SurfaceSample& s, float background) {
  const double cosine = std::max(
      0.0, -(record.normal[0] * record.ray_direction[0] + record.normal[1] * record.ray_direction[1] +
             record.normal[2] * record.ray_direction[2]));
  const bool lit = s.emission >= 1.0f;
  const double diffuse = std::pow(cosine, s.brilliance) * s.diffuse;
  const double highlight =
      s.phong * std::pow(cosine, s.phong_size) + s.specular * std::pow(cosine, s.specular_exponent);
  std::array<float, 3> out{};
  for (int c = 0; c < 3; ++c) {
    const double ambient = (s.flags & L2_SAMPLE_AMBIENT_COLOR) ? s.ambient_color[c] : s.ambient;
    double surface = lit ? s.color[c] : s.color[c] * (ambient + diffuse) + highlight * s.highlight_color[c];
    surface *= s.color[3];
    const double through =
        (s.flags & L2_SAMPLE_TRANSMISSION) ? s.transmitted_color[c] * s.transmission : 1.0 - s.color[3];
    out[c] = static_cast<float>(std::clamp(surface + background * through, 0.0, 1.0));
  }
  return out;
}

std::vector<std::uint8_t> ShadeSwatch(const texture::Texture& texture, const SwatchRequest& request) {
  const int size = request.size;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double u = (x + 0.5) / size, v = 1.0 - (y + 0.5) / size;
      L2ShadingRecord record =
          SwatchPoint(request.plane, (u - 0.5) * request.scale, (v - 0.5) * request.scale, u, v);
      SurfaceSample sample = DefaultSample();
      LumetraShadeTexture(&record, &sample, const_cast<texture::Texture*>(&texture));
      const float background = ((x / 8 + y / 8) % 2) ? 0.75f : 0.5f;
      const std::array<float, 3> rgb = LightHeadOn(record, sample, background);
      // Bottom-up rows, blue first.
      std::uint8_t* pixel = &bgra[(static_cast<std::size_t>(size - 1 - y) * size + x) * 4];
      for (int c = 0; c < 3; ++c) pixel[2 - c] = static_cast<std::uint8_t>(std::lround(rgb[c] * 255.0f));
      pixel[3] = 255;
    }
  }
  return bgra;
}

// The material named `name` in the scene's material list, translated; its images go to
// `images`.
std::unique_ptr<texture::Texture> TranslateNamedMaterial(const abi::SceneRecord& record,
                                                         const std::string& name,
                                                         texture::ImageList& images) {
  SwatchSink sink;
  translate::TextureTranslator translator(record, sink, images);
  const translate::HostNodes nodes(record);
  std::vector<std::unique_ptr<texture::Media>> media;
  std::uint32_t id = 0;
  for (std::int32_t i = 0; record.getChild(abi::kMaterialList, i, &id) == abi::kOk; ++i) {
    const std::unique_ptr<translate::NodeRecord> material = nodes.Read(id);
    if (material && strncmp(material->info.name, name.c_str(), sizeof(material->info.name)) == 0) {
      return translator.TranslateMaterial(*material, media);
    }
  }
  return nullptr;
}

}  // namespace

int RunTextureSwatch(const SwatchRequest& request, std::ostream& out, std::ostream& err) {
  if (request.size < 1 || request.size > 8192) {
    err << kPrefix << "--size must be 1 to 8192, not " << request.size << "\n";
    return 1;
  }
  if (!(request.scale > 0.0) || !std::isfinite(request.scale)) {
    err << kPrefix << "--scale must be a positive number\n";
    return 1;
  }
  try {
    host::Scene scene = host::LoadScene(request.scenePath);
    host::HostContext context(scene);
    abi::SceneRecord record{};
    host::FillSceneRecord(record);
    texture::ImageList images;  // declared first: the texture points into it
    const std::unique_ptr<texture::Texture> texture =
        TranslateNamedMaterial(record, request.material, images);
    if (!texture) {
      err << kPrefix << "no material named '" << request.material << "' with a texture in "
          << request.scenePath << "\n";
      return 1;
    }
    const std::vector<std::uint8_t> pixels = ShadeSwatch(*texture, request);
    image::WriteImageFile(
        {pixels, request.size, request.size},
        image::FormatForFileName(request.outputPath, false).value_or(image::ImageFileFormat::kPng),
        request.outputPath);
  } catch (const host::SceneFileError& error) {
    err << kPrefix << error.what() << "\n";
    return 1;
  } catch (const image::ImageWriteError& error) {
    err << kPrefix << error.what() << "\n";
    return 1;
  }
  out << "wrote " << request.outputPath << " (" << request.size << " x " << request.size << ")\n";
  return 0;
}

void RegisterTextureSwatchCommand(CLI::App& root, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("texture-swatch", "Shades a flat square of a material into an image");
  auto request = std::make_shared<SwatchRequest>();
  command->add_option("SCENE", request->scenePath, "Scene file")->required();
  command->add_option("MATERIAL", request->material, "Name of a material of the scene")->required();
  command
      ->add_option("-o,--output", request->outputPath,
                   "Image file to write (PNG unless the extension says otherwise)")
      ->required();
  command->add_option("--size", request->size, "Pixels along each side (default 256)")
      ->check(CLI::Range(1, 8192));
  const std::map<std::string, SwatchPlane> planes{
      {"xy", SwatchPlane::kXy}, {"xz", SwatchPlane::kXz}, {"yz", SwatchPlane::kYz}};
  command->add_option("--plane", request->plane, "Plane of the square: xy (default), xz or yz")
      ->transform(CLI::CheckedTransformer(planes, CLI::ignore_case));
  command->add_option("--scale", request->scale, "Side of the square in scene units (default 4)")
      ->check(CLI::PositiveNumber);
  command->callback([request, &exitCode] { exitCode = RunTextureSwatch(*request, std::cout, std::cerr); });
}

}  // namespace lumetra::tools
