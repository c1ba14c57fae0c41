// A material as RenderMan's standard surfaces: its colour, opacity and finish.
#include <algorithm>
#include <optional>

#include "abi/scene_record.h"
#include "host/pov_text.h"
#include "host/rib_text.h"

namespace lumetra::host::rib {
namespace {

struct PlainColour {
  double red = 1, green = 1, blue = 1, filter = 0, transmit = 0;
  bool approximated = false;  // a pattern or block pigment, given as its first colour
};

// The finish values a node without a finish has (the scene format's defaults).
abi::FinishParams DefaultFinish() {
  abi::FinishParams finish{};
  finish.ambient = 0.1;
  finish.diffuse = 0.6;
  finish.brilliance = 1;
  finish.phongSize = 40;
  finish.roughness = 0.05;
  return finish;
}

template <typename Visit>
void Children(const Scene& scene, const SceneObject& node, Visit visit) {
  for (const uint32_t id : node.children) {
    const SceneObject* child = scene.Find(id);
    if (child && child->type == abi::kTypeTextureNode) visit(*child);
  }
}

// The first standard texture of a material, looking into block textures as the
// ray tracer's first block colour would.
const SceneObject* FirstStandardTexture(const Scene& scene, const SceneObject& node, int depth = 0) {
  const SceneObject* found = nullptr;
  Children(scene, node, [&](const SceneObject& child) {
    if (found || depth > 64) return;
    if (child.node.kind == abi::kNodeStandardTexture) found = &child;
    if (child.node.kind == abi::kNodeBlockTexture) found = FirstStandardTexture(scene, child, depth + 1);
  });
  return found;
}

PlainColour PigmentColour(const Scene& scene, const SceneObject& pigment) {
  std::optional<PlainColour> colour;
  Children(scene, pigment, [&](const SceneObject& child) {
    if (colour) return;
    const auto& params = child.node.params;
    switch (child.node.kind) {
      case abi::kNodeSolidColor:
        colour = PlainColour{params.color.red,    params.color.green,    params.color.blue,
                             params.color.filter, params.color.transmit, false};
        break;
      case abi::kNodePatternPigment:
      case abi::kNodePatternPigmentAlt:
        if (params.pattern.colorMapCount > 0) {
          const abi::ColorMapEntry& e = params.pattern.colorMap[0];
          colour = PlainColour{e.red, e.green, e.blue, e.filter, e.transmit, true};
        }
        break;
      case abi::kNodeBlockPigment: {
        const double(&c)[5] = params.block.colors[0];
        colour = PlainColour{c[0], c[1], c[2], c[3], c[4], true};
        break;
      }
      default:
        break;
    }
  });
  return colour.value_or(PlainColour{});
}

}  // namespace

void WriteSurface(const Scene& scene, const std::string& name, std::ostream& out, const std::string& indent) {
  const std::optional<size_t> index = MaterialIndex(scene, name);
  if (!index) return;
  const SceneObject* material = scene.Find(scene.List(abi::kMaterialList)[*index]);
  const SceneObject* texture = material ? FirstStandardTexture(scene, *material) : nullptr;
  PlainColour colour;
  abi::FinishParams finish = DefaultFinish();
  if (texture) {
    Children(scene, *texture, [&](const SceneObject& child) {
      if (child.node.kind == abi::kNodePigment) colour = PigmentColour(scene, child);
      if (child.node.kind == abi::kNodeFinish) finish = child.node.params.finish;
    });
  }
  if (colour.approximated) {
    out << indent << "# material \"" << pov::CommentText(name)
        << "\": its pattern is given as its first colour\n";
  }
  out << indent << "Color " << Triple{colour.red, colour.green, colour.blue} << "\n";
  const double opacity = std::clamp(1 - colour.filter - colour.transmit, 0.0, 1.0);
  if (opacity < 1) out << indent << "Opacity " << Triple{opacity, opacity, opacity} << "\n";
  // RenderMan's specular exponent is 1 / roughness, as the ray tracer's specular is; a
  // phong highlight of size n is the exponent n.
  const bool specular = finish.specular != 0;
  const double ks = specular ? finish.specular : finish.phong;
  const double roughness = specular ? finish.roughness : (finish.phongSize > 0 ? 1 / finish.phongSize : 1);
  out << indent << "Surface ";
  if (finish.metallicSet && finish.metallic > 0) {
    out << "\"metal\" \"Ka\" " << finish.ambient << " \"Ks\" " << ks << " \"roughness\" " << roughness;
  } else if (ks != 0) {
    out << "\"plastic\" \"Ka\" " << finish.ambient << " \"Kd\" " << finish.diffuse << " \"Ks\" " << ks
        << " \"roughness\" " << roughness;
  } else {
    out << "\"matte\" \"Ka\" " << finish.ambient << " \"Kd\" " << finish.diffuse;
  }
  out << "\n";
}

}  // namespace lumetra::host::rib
