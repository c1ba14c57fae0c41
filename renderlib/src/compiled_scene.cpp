#include "compiled_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "csg.h"

namespace lumetra::renderlib {
namespace {

// References to references end here: deeper chains are taken for loops.
constexpr int kMaxReferenceChain = 64;

}  // namespace

CompiledScene::CompiledScene(const Scene& scene, const View& view, uint32_t shading_flags,
                             TracingLimits limits)
    : scene_(scene), camera_(view), flags_(shading_flags), limits_(limits) {
  for (const auto& entry : scene.primitives()) {
    const Primitive& primitive = *entry.second;
    if (!primitive.is_operand)
      primitives_.push_back({&primitive, bind(primitive.texture, primitive.placement.toLocal())});
  }
  for (const Light* light : scene.lights()) lights_.push_back(compile(*light));
  volume_sampling_ = {view.volume_step, view.volume_min_steps, view.volume_max_steps};
  if (shading_flags & L2_SHADE_VOLUMES) {
    for (uint32_t handle : scene.global_volumes) global_volumes_.push_back(scene.volume(handle));
    for (const CompiledPrimitive& compiled : primitives_) {
      uint32_t texture =
          compiled.primitive->texture ? compiled.primitive->texture : scene.settings.default_texture;
      // A primitive may wear a reference to the texture its volumes are filed under: each
      // texture along the chain fills it.
      for (int hop = 0; texture != 0 && hop < kMaxReferenceChain; ++hop) {
        const auto [first, last] = scene.texture_volumes.equal_range(texture);
        for (auto it = first; it != last; ++it) {
          volume_regions_.push_back(
              {compiled.primitive, scene.volume(it->second), compiled.texture.world_to_texture});
        }
        const Texture* entry = scene.texture(texture);
        texture = entry && entry->kind == Texture::Kind::kReference ? entry->target : 0;
      }
    }
  }
  accelerator_ = std::make_unique<Accelerator>(primitives_, (shading_flags & L2_SHADE_SMOOTH) != 0);
  // Without transmission every caster stops light; with it, every caster's texture must say so.
  const bool transmission = shading_flags & L2_SHADE_TRANSMISSION;
  shadows_stop_at_first_caster_ =
      std::all_of(primitives_.begin(), primitives_.end(), [&](const CompiledPrimitive& compiled) {
        const Primitive& p = *compiled.primitive;
        if (!p.casts_shadows) return !p.mesh;  // the occlusion query cannot pass over a mesh
        if (!transmission) return true;
        return compiled.texture.letsNoLightThrough() && partsLetNoLightThrough(p);
      });
}

bool CompiledScene::partsLetNoLightThrough(const Primitive& primitive) const {
  const CsgNode* node = primitive.shapeAs<CsgNode>();
  if (!node) return true;
  for (const Primitive* part : {&node->left(), &node->right()}) {
    // A part without a texture of its own wears its whole's.
    if (part->texture && !bind(part->texture, Affine::identity()).letsNoLightThrough()) return false;
    if (!partsLetNoLightThrough(*part)) return false;
  }
  return true;
}

TextureBinding CompiledScene::bind(uint32_t handle, const Affine& world_to_local) const {
  TextureBinding out;
  if (!handle) handle = scene_.settings.default_texture;
  // Texture space: back through the object, then through each reference on the way.
  Affine to_texture = world_to_local;
  for (int hops = 0; const Texture* texture = scene_.texture(handle); ++hops) {
    to_texture = to_texture.then(texture->placement.toLocal());
    if (texture->kind != Texture::Kind::kReference || hops > kMaxReferenceChain) {
      out.texture = texture->kind == Texture::Kind::kReference ? nullptr : texture;
      break;
    }
    handle = texture->target;
  }
  out.world_to_texture = to_texture;
  return out;
}

TextureBinding CompiledScene::textureAt(const WorldHit& hit) const {
  if (hit.part) {
    if (const std::optional<Affine> world_to_part = hit.part_to_world.inverse()) {
      return bind(hit.part->texture, *world_to_part);
    }
  }
  return hit.primitive->texture;
}

CompiledLight CompiledScene::compile(const Light& light) const {
  CompiledLight out;
  out.light = &light;
  const Affine& to_world = light.placement.toWorld();
  out.position = to_world.point(light.location);
  out.edge_u = to_world.vector({1, 0, 0});
  out.edge_v = to_world.vector({0, 0, 1});
  out.centre =
      light.kind == Light::Kind::kArea ? out.position + (out.edge_u + out.edge_v) * 0.5 : out.position;
  out.spot_axis = normalized(to_world.point(light.spot_target) - out.position);
  out.cos_radius = std::cos(light.spot_radius * std::numbers::pi / 180.0);
  out.cos_falloff = std::cos(std::max(light.spot_falloff, light.spot_radius) * std::numbers::pi / 180.0);
  return out;
}

}  // namespace lumetra::renderlib
