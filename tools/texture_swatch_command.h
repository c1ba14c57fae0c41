#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::tools {

// Which plane the swatch square lies in; it faces the viewer along the remaining axis.
enum class SwatchPlane { kXy, kXz, kYz };

struct SwatchRequest {
  std::string scenePath;
  std::string material;
  std::string outputPath;
  int size = 256;  // pixels along each side
  SwatchPlane plane = SwatchPlane::kXy;
  double scale = 4.0;  // side of the square in scene units, centred on the origin
};

// `lumetra-tool texture-swatch SCENE MATERIAL -o FILE.png`: shades a flat square of a material
// through the texture engine's shade callback and writes it as an image.
void RegisterTextureSwatchCommand(CLI::App& root, int& exitCode);

// Returns 0, or 1 after one line on `err` when the scene, the material or the file fails.
int RunTextureSwatch(const SwatchRequest& request, std::ostream& out, std::ostream& err);

}  // namespace lumetra::tools
